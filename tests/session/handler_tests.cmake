# Tests of the incoming dispatcher against a recording controller (FakeClassroom.h). Included from
# this folder's CMakeLists.txt.
veltrin_add_test(veltrin_session_handler_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/handler_dispatch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/handler_participants_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/handler_features_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/handler_hostile_test.cpp
  LIBS veltrin_session)
