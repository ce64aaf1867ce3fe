#include "MyControls.h"

namespace veltrin {

MyControlStates computeMyControls(const MyControlInputs& in) {
    const bool privileged = in.userType != 0;
    const bool live = !in.playback;
    const bool drawing = in.boardAllowed && live;

    MyControlStates s;
    s.clearMotionsVisible = privileged;
    s.recorderPauseVisible = privileged && in.recordingRunning;
    s.recorderStartStopVisible = privileged && in.roomAllowsRecordings;
    s.microphoneEnabled = in.voiceAllowed;
    s.sharedScreenViewEnabled = in.userType >= 1 && in.roomAllowsAppShare;
    s.moderatorToolsEnabled = in.userType > 0;
    s.myWebcamEnabled = in.videoAllowed;
    s.breakoutRoomsEnabled = in.userType >= 1 && in.breakoutRoomsAllowed;
    s.boardControlsEnabled = drawing;
    s.notesAccessVisible = privileged;
    s.whiteboardToolBarVisible = drawing;
    if (drawing) {
        s.whiteboardLeftMargin = 80;
        s.whiteboardTopMargin = 40;
        s.presentationBarVisible = in.presentationOpen;
        s.whiteboardBottomMargin = in.presentationOpen ? 30 : 0;
    } else {
        s.whiteboardLeftMargin = 0;
        s.whiteboardTopMargin = 40;
        s.whiteboardBottomMargin = 0;
        s.presentationBarVisible = false;
    }
    s.canvasReadOnly = !drawing;
    s.browserControlsEnabled = in.userType > 0 || in.boardAllowed;
    s.motionMenuItemsEnabled = true;
    s.moderatorMenuItemsEnabled = in.userType > 0;
    return s;
}

}  // namespace veltrin
