#pragma once

namespace veltrin {

// What decides whether a main-menu item may be used. Without a classroom everything but
// classroomExists is false or 0.
struct MenuContext {
    bool classroomExists = false;
    bool liveMode = false;   // the classroom runs a live session (not a playback)
    int ownUserType = 0;     // UserTypeID of the own client record: above 0 is moderator or administrator
    bool screenShareButtonEnabled = false;
    bool roomAllowsAppShare = false;
    bool ownWebcamButtonEnabled = false;
    bool videoAllowed = false;
};

// Menu item tags. Items are validated and dispatched by these numbers, so they are part of the
// contract between the menu and the classroom: change a value only together with its rule.
namespace MenuTag {
// Whiteboard menu
inline constexpr int NewWhiteboard = 1;
inline constexpr int RemoveWhiteboard = 2;
inline constexpr int RemoveAllWhiteboards = 3;
inline constexpr int RemoveMarkup = 5;
inline constexpr int ToggleMarkup = 6;
inline constexpr int GiveBoardAccessToAll = 7;
inline constexpr int TakeBoardAccessFromAll = 8;
inline constexpr int ScaleNone = 9;
inline constexpr int ScaleFitWidth = 10;
inline constexpr int ScaleFitAll = 11;
// File menu
inline constexpr int UploadBoardToPresentations = 14;
inline constexpr int Settings = 201;
inline constexpr int Reconnect = 202;
inline constexpr int SaveTextMessages = 203;
inline constexpr int ClearTextMessages = 204;
inline constexpr int ExportCurrentWhiteboard = 205;
inline constexpr int ExportAllWhiteboards = 206;
// Share submenu (303 is reserved for a webcam share item and follows the webcam button)
inline constexpr int SharePresentations = 301;
inline constexpr int ShareScreen = 302;
inline constexpr int ShareWebcam = 303;
inline constexpr int ShareWebTour = 304;
inline constexpr int ShareResourceLibrary = 305;
// Actions menu: motions carry their value + 500
inline constexpr int MotionHand = 501;
inline constexpr int MotionSmile = 502;
inline constexpr int MotionClap = 504;
inline constexpr int MotionYes = 508;
inline constexpr int MotionNo = 516;
inline constexpr int ClearMotions = 520;
inline constexpr int PingWithSound = 521;
inline constexpr int PingSilent = 522;
// Audio menu
inline constexpr int AudioTest = 701;
inline constexpr int AudioSettings = 702;
inline constexpr int ClassroomSettings = 703;
inline constexpr int MicrophoneToAll = 704;
inline constexpr int MicrophoneFromAll = 705;
inline constexpr int ReconnectAudio = 706;
// Video menu
inline constexpr int StartMyWebcam = 801;
inline constexpr int VideoSettings = 802;
}  // namespace MenuTag

// The enable rule of a main-menu item, by its tag.
bool isMenuItemEnabled(int tag, const MenuContext& context);

}  // namespace veltrin
