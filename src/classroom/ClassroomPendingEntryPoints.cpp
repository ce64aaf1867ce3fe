// Entry points of features that this build of the classroom does not have yet (polls, breakout rooms, the resource library, the
// recorder, the guided browser, screen sharing). The dispatcher already decodes their
// commands; until a feature arrives its calls are accepted here and change nothing.

#include "ClassroomViewController.h"

namespace veltrin {

void ClassroomViewController::Safe_NavigateToUrl(const std::string&, int) {}
void ClassroomViewController::Safe_NotifyRecorder(int, int) {}


void ClassroomViewController::Safe_RunPoll(const TPingPacket&) {}
void ClassroomViewController::Safe_ShowPollResultFromUser(int, int) {}

void ClassroomViewController::Safe_ListTempRooms(const std::vector<TRoomHeader>&) {}
void ClassroomViewController::Safe_ListRoomUsers(int, const std::vector<TClientRecord>&) {}
void ClassroomViewController::Safe_MoveMeToRoomId(int) {}

void ClassroomViewController::Safe_LoadSharedDocs(const std::vector<TFileInfo>&) {}
void ClassroomViewController::Safe_LoadInternetLinks(const std::vector<TFileInfo>&) {}
void ClassroomViewController::Safe_LoadPresentations(const std::vector<TFileInfo1>&) {}
void ClassroomViewController::Safe_DisplayDocOpenRequest(const std::string&, int, const std::string&) {}

void ClassroomViewController::Safe_AppShareRefused() {}
void ClassroomViewController::Safe_AppShareStarted(const TAppShareStruct&, int) {}
void ClassroomViewController::Safe_StartAppSharing() {}
void ClassroomViewController::Safe_StopAppShare(int) {}
void ClassroomViewController::Safe_AppShareFrame(const TAppShareFrame&, const Bytes&) {}
void ClassroomViewController::Safe_AppShareControl(int, int) {}
void ClassroomViewController::Safe_SetAppShareControl(int) {}
bool ClassroomViewController::Safe_AppShareRemoteControlPack(const TAppShareControlPacket&, bool buttonHeld) {
    return buttonHeld;
}
void ClassroomViewController::Safe_AppShareForce(int, int, int, int, int, bool) {}

}  // namespace veltrin
