# The classroom window through the keyboard and the accessibility interfaces, with the reference server.
veltrin_add_test(veltrin_accessibility_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AccessibilityTest.cpp
  LIBS veltrin_classroom veltrin_test_support Qt6::Test)
add_dependencies(veltrin_accessibility_tests veltrin classroom-server)
