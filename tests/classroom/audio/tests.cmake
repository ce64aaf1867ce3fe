veltrin_add_test(veltrin_classroom_audio_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AudioFeatureTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/AudioSetupWindowTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ClassroomVolumeControlsTest.cpp
  LIBS veltrin_classroom veltrin_test_support)
