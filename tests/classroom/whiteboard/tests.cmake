# The whiteboard of the classroom window: real controllers drawing together and sharing a board set
# on the reference server, the board controls, and the screenshot onto a board.
veltrin_add_test(veltrin_classroom_whiteboard_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WhiteboardTogetherTest.cpp ${CMAKE_CURRENT_LIST_DIR}/WhiteboardToolsTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/BoardSetTogetherTest.cpp ${CMAKE_CURRENT_LIST_DIR}/BoardScreenshotTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/BoardControlsTest.cpp
  LIBS veltrin_classroom veltrin_test_support Qt6::Test)
