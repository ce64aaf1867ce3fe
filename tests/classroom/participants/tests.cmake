# Tests of the participant list; included from the classroom tests.
veltrin_add_test(veltrin_participants_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ParticipantModelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/MyControlsTest.cpp
  LIBS veltrin_classroom)
veltrin_add_test(veltrin_participants_gui_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ParticipantListTest.cpp
  LIBS veltrin_classroom)
