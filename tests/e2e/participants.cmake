# Three real clients in one room.
veltrin_add_test(veltrin_e2e_three_clients_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ThreeClientsTest.cpp
  LIBS veltrin_test_support)
add_dependencies(veltrin_e2e_three_clients_tests veltrin classroom-server)
