if(VELTRIN_BUILD_GUI)
  # The canvas on a busy board: repaint, appending objects, a full rebuild against a bare QPainter
  # loop, and the live stroke segment, offscreen.
  add_executable(veltrin_bench_whiteboard ${CMAKE_CURRENT_LIST_DIR}/WhiteboardBench.cpp)
  target_link_libraries(veltrin_bench_whiteboard PRIVATE veltrin_whiteboard benchmark::benchmark Qt6::Widgets
                        veltrin_settings)
endif()
