# Tests of the participant list; included from the classroom tests.
veltrin_add_test(veltrin_participants_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ParticipantModelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/MyControlsTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/AiffSoundTest.cpp
  LIBS veltrin_classroom)
veltrin_add_test(veltrin_participants_gui_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ParticipantListTest.cpp
  LIBS veltrin_classroom)
# The generated icons and sounds, and the sounds a session plays; they need the resource folder
# and the reference server.
veltrin_add_test(veltrin_participants_resources_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ParticipantResourcesTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/NoticeSoundsTest.cpp
  LIBS veltrin_classroom veltrin_test_support)
add_dependencies(veltrin_participants_resources_tests veltrin_resources veltrin classroom-server)
