# Voice from one participant's microphone file to another's speaker file through real controllers,
# the reference server and a paced file-backed sound device; and the setup test's sample. Runs real
# sound devices (ALSA plugins leak by design): a GUI suite, so it stays out of the sanitizer run.
veltrin_add_test(veltrin_e2e_audio_tests GUI LABEL device
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AudioEndToEndTest.cpp
  LIBS veltrin_classroom veltrin_test_support)
target_compile_definitions(veltrin_e2e_audio_tests PRIVATE
  VELTRIN_PACED_ALSA_CONF="${CMAKE_BINARY_DIR}/alsa/paced.conf"
  VELTRIN_RESOURCES_PATH="${VELTRIN_RESOURCES_DIR}")
add_dependencies(veltrin_e2e_audio_tests asound_module_pcm_veltrin_paced classroom-server veltrin_resources)
