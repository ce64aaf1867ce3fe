if(VELTRIN_BUILD_GUI)
  # Reading a 5,000-object board snapshot and writing its board file.
  add_executable(veltrin_bench_boards BoardsBench.cpp)
  target_link_libraries(veltrin_bench_boards PRIVATE veltrin_whiteboard benchmark::benchmark benchmark::benchmark_main
                        veltrin_settings)
endif()
