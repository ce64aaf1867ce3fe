# Text chat and session notes: the model, its export and menu, and the widgets that show them.
set(VELTRIN_CHAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TextChat.h
  ${CMAKE_CURRENT_LIST_DIR}/TextChat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextChatExport.h
  ${CMAKE_CURRENT_LIST_DIR}/TextChatExport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextChatMenu.h
  ${CMAKE_CURRENT_LIST_DIR}/TextChatMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChatLogModel.h
  ${CMAKE_CURRENT_LIST_DIR}/ChatLogModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextChatView.h
  ${CMAKE_CURRENT_LIST_DIR}/TextChatView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NotesPanel.h
  ${CMAKE_CURRENT_LIST_DIR}/NotesPanel.cpp)
