veltrin_add_test(veltrin_chat_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextChatTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TextChatExportTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TextChatWidgetsTest.cpp
  LIBS veltrin_classroom Qt6::Test)
