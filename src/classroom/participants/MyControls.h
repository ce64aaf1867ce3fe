#pragma once

namespace veltrin {

// What decides the local user's controls; gathered by the controller from its own state, the
// room header and the features.
struct MyControlInputs {
    int userType = 0;  // the own client record's UserTypeID
    bool playback = false;
    bool voiceAllowed = false;
    bool boardAllowed = false;
    bool videoAllowed = false;
    bool breakoutRoomsAllowed = false;
    bool recordingRunning = false;
    bool roomAllowsRecordings = false;  // room header AllowRecordings
    bool roomAllowsAppShare = false;    // room header AllowAppShare
    bool presentationOpen = false;
};

// The state of every control the local user's role and permissions decide. The window applies it.
struct MyControlStates {
    bool clearMotionsVisible = false;
    bool recorderPauseVisible = false;
    bool recorderStartStopVisible = false;
    bool microphoneEnabled = false;
    bool sharedScreenViewEnabled = false;
    // Web view, whiteboard view, file library, presentations and polling buttons.
    bool moderatorToolsEnabled = false;
    bool myWebcamEnabled = false;
    bool breakoutRoomsEnabled = false;
    // Whiteboard selector, toggle-markup, rotate left and right.
    bool boardControlsEnabled = false;
    bool notesAccessVisible = false;
    bool whiteboardToolBarVisible = false;
    bool presentationBarVisible = false;
    int whiteboardLeftMargin = 0;
    int whiteboardTopMargin = 40;
    int whiteboardBottomMargin = 0;
    bool canvasReadOnly = true;
    // Back, forward, address field, history, blank, reload and web library of the guided browser.
    bool browserControlsEnabled = false;
    // The application menu after the update.
    bool motionMenuItemsEnabled = true;  // a classroom exists whenever this is computed
    bool moderatorMenuItemsEnabled = false;  // clear motions, pings, microphone and whiteboard for all

    bool operator==(const MyControlStates&) const = default;
};

MyControlStates computeMyControls(const MyControlInputs& in);

}  // namespace veltrin
