if(VELTRIN_BUILD_GUI)
  # Reading a 5,000-object board snapshot and writing its board file.
  add_executable(veltrin_bench_boards BoardsBench.cpp)
  target_link_libraries(veltrin_bench_boards PRIVATE veltrin_whiteboard benchmark::benchmark benchmark::benchmark_main
                        veltrin_settings)
endif()

if(VELTRIN_BUILD_GUI AND TARGET veltrin_test_support)
  # A moderator's controller switching between two 5,000-object boards on the reference server,
  # from the choice to the repaint. Prints percentiles; the argument is the number of switches.
  add_executable(veltrin_bench_board_switch BoardSwitchBench.cpp)
  target_link_libraries(veltrin_bench_board_switch PRIVATE veltrin_classroom veltrin_test_support veltrin_settings)
endif()
