# The participant list: its model, rows, menu and the local controls it decides. The classroom
# library adds these sources with include() and target_sources().
set(VELTRIN_PARTICIPANTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantModel.h
  ${CMAKE_CURRENT_LIST_DIR}/MyControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MyControls.h
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantActions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantActions.h
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantRow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantRow.h
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantIcons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantIcons.h
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantListModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantListModel.h
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantListView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantListView.h
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantListPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipantListPanel.h)
