# The drawing canvas: its rules without a window, and the widget driven by synthesized input.
veltrin_add_test(veltrin_whiteboard_canvas_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CanvasRulesTest.cpp ${CMAKE_CURRENT_LIST_DIR}/CanvasInteractionTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/CanvasTestSupport.h
  LIBS veltrin_whiteboard Qt6::Test)
