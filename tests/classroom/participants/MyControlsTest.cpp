#include <gtest/gtest.h>

#include "classroom/participants/MyControls.h"

namespace veltrin {
namespace {

TEST(MyControlsTest, AttendeeWithoutPermissionsSeesOnlyTheBasics) {
    const MyControlStates s = computeMyControls({});
    MyControlStates expected;  // everything off, margins 0/40/0, canvas read-only
    EXPECT_EQ(s, expected);
}

TEST(MyControlsTest, ModeratorWithEverythingAllowed) {
    MyControlInputs in;
    in.userType = 1000;
    in.voiceAllowed = in.boardAllowed = in.videoAllowed = in.breakoutRoomsAllowed = true;
    in.recordingRunning = in.roomAllowsRecordings = in.roomAllowsAppShare = in.presentationOpen = true;
    MyControlStates e;
    e.clearMotionsVisible = e.recorderPauseVisible = e.recorderStartStopVisible = true;
    e.microphoneEnabled = e.sharedScreenViewEnabled = e.moderatorToolsEnabled = e.myWebcamEnabled = true;
    e.breakoutRoomsEnabled = e.boardControlsEnabled = e.notesAccessVisible = e.whiteboardToolBarVisible = true;
    e.presentationBarVisible = true;
    e.whiteboardLeftMargin = 80;
    e.whiteboardTopMargin = 40;
    e.whiteboardBottomMargin = 30;
    e.canvasReadOnly = false;
    e.browserControlsEnabled = e.moderatorMenuItemsEnabled = true;
    EXPECT_EQ(computeMyControls(in), e);
}

TEST(MyControlsTest, RowsThatDependOnMoreThanOneInput) {
    struct Case {
        const char* what;
        MyControlInputs in;
        bool MyControlStates::*control;
        bool expected;
    };
    MyControlInputs boardOnly;
    boardOnly.boardAllowed = true;
    MyControlInputs boardInPlayback = boardOnly;
    boardInPlayback.playback = true;
    MyControlInputs modNoRecording;
    modNoRecording.userType = 1000;
    modNoRecording.roomAllowsRecordings = true;
    MyControlInputs attendeeRoomAllowsShare;
    attendeeRoomAllowsShare.roomAllowsAppShare = true;
    attendeeRoomAllowsShare.breakoutRoomsAllowed = true;
    MyControlInputs negativeType;  // a type below zero is neither attendee nor privileged for "> 0"
    negativeType.userType = -5;
    const Case cases[] = {
        {"board allowed enables the browser", boardOnly, &MyControlStates::browserControlsEnabled, true},
        {"board allowed, no presentation: no bar", boardOnly, &MyControlStates::presentationBarVisible, false},
        {"board in playback: no tool bar", boardInPlayback, &MyControlStates::whiteboardToolBarVisible, false},
        {"board in playback: read-only", boardInPlayback, &MyControlStates::canvasReadOnly, true},
        {"board in playback: selector off", boardInPlayback, &MyControlStates::boardControlsEnabled, false},
        {"no recording: no pause", modNoRecording, &MyControlStates::recorderPauseVisible, false},
        {"recordings allowed: start/stop", modNoRecording, &MyControlStates::recorderStartStopVisible, true},
        {"attendee: no shared-screen view", attendeeRoomAllowsShare, &MyControlStates::sharedScreenViewEnabled, false},
        {"attendee: no breakout rooms", attendeeRoomAllowsShare, &MyControlStates::breakoutRoomsEnabled, false},
        {"negative type shows clear motions", negativeType, &MyControlStates::clearMotionsVisible, true},
        {"negative type: no moderator tools", negativeType, &MyControlStates::moderatorToolsEnabled, false},
    };
    for (const Case& c : cases) EXPECT_EQ(computeMyControls(c.in).*c.control, c.expected) << c.what;
    EXPECT_EQ(computeMyControls(boardOnly).whiteboardLeftMargin, 80);
    EXPECT_EQ(computeMyControls(boardInPlayback).whiteboardLeftMargin, 0);
}

}  // namespace
}  // namespace veltrin
