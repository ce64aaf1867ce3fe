# The whiteboard of the classroom window: two real controllers drawing together on the reference server.
veltrin_add_test(veltrin_classroom_whiteboard_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WhiteboardTogetherTest.cpp ${CMAKE_CURRENT_LIST_DIR}/WhiteboardToolsTest.cpp
  LIBS veltrin_classroom veltrin_test_support Qt6::Test)
