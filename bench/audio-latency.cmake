if(VELTRIN_BUILD_GUI AND TARGET veltrin_test_support AND TARGET asound_module_pcm_veltrin_paced)
  # Mouth-to-ear latency of the audio channel on loopback: clicks from one participant's microphone
  # file to another's speaker file through real controllers and the reference server, on paced
  # file-backed sound devices. Run it directly: it prints the figures.
  add_executable(veltrin_bench_audio_latency AudioLatency.cpp)
  target_include_directories(veltrin_bench_audio_latency PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(veltrin_bench_audio_latency PRIVATE veltrin_classroom veltrin_test_support veltrin_settings)
  target_compile_definitions(veltrin_bench_audio_latency PRIVATE
    VELTRIN_PACED_ALSA_CONF="${CMAKE_BINARY_DIR}/alsa/paced.conf")
  add_dependencies(veltrin_bench_audio_latency asound_module_pcm_veltrin_paced classroom-server)
endif()
