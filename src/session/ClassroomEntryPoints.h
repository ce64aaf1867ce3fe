#pragma once

// What the incoming dispatcher (CommandHandler) may ask of the classroom controller. Session code
// sees the controller only through this interface, so its tests run against a recording fake.
//
// Threads. The dispatcher runs on a reader thread (the main connection's, or the recording
// player's). Only the main thread touches session state, so every entry point says how it gets
// there; the controller implements the marshalling, this header states the contract:
//
//   [wait]  posted to the main thread; the caller blocks until it has run (it runs inline when
//           already called on the main thread, so it can never deadlock on itself). Arguments are
//           only borrowed for the call.
//   [post]  queued to the main thread; the caller goes on at once. Implementations copy their
//           arguments. Posted work still runs in the order it was queued, before and after the
//           [wait] calls of the same thread.
//   [any]   runs on the calling thread and is safe from any thread.
//
// Calls marked "(state)" stand for reading or changing controller or settings state, which the
// reader thread must never touch itself: they are marshalled like the rest so that state has one
// owner, the main thread.
//
// Modal boxes may be shown inside [wait] calls; the reader thread then simply stops reading until
// the user has answered. The flip side: the main thread must never block until a reader thread has
// ended (joining it, say) while that thread may be waiting inside one of these calls.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/IncomingRecords.h"
#include "wire/AppShareRecords.h"
#include "wire/PaintObjectHeader.h"
#include "wire/Records.h"

namespace veltrin {

// Controls the dispatcher makes blink to draw the user's attention.
enum class BlinkTarget { WhiteboardViewButton, WebViewButton, SharedScreenViewButton };

// Boolean settings that shape the notices the dispatcher gives.
enum class NoticeSetting {
    ShowNotificationsInChat,  // "ShowNotificationsInChat": enter and leave lines in the chat log
    BeepOnEnter,              // "BeepOnEnter"
    BeepOnExit,               // "BeepOnExit"
    BeepOnMessages,           // "BeepOnMessages"
    BeepOnMotions,            // "BeepOnMotions"
};

// ---- session lifecycle, window, account and the commands sent straight back
class SessionEntryPoints {
public:
    virtual ~SessionEntryPoints() = default;

    // [post] The join was accepted: the room id replaces RoomID, header and record replace the
    // stored ones, the room's MikesCount becomes defMikesCount, MasterRoomId becomes the room's ID
    // when above 999; then the joined-room sequence runs.
    virtual void Safe_JoinedVirtualRoom(std::int32_t roomId, const TRoomHeader& roomHeader,
                                        const TClientRecord& clientRecord) = 0;
    // [post] The join was refused with this Result; MasterRoomId is reset to 0.
    virtual void Safe_JoinedVirtualRoomDenied(int result) = 0;
    // [wait] The server ends the session with a message shown to the user.
    virtual void Safe_Disconnect(const std::string& message) = 0;
    // [wait] The entry token was refused with this Result.
    virtual void Safe_ProcessTokenError(int result) = 0;

    // [wait] (state) The host account type and its value.
    virtual void Safe_SetHostAccountType(int type) = 0;
    virtual void Safe_SetHostAccountInt(int value) = 0;
    // [wait] (state) Replaces the controller's accountDataEx.
    virtual void Safe_SetAccountDataEx(const TAccountDataEx& accountData) = 0;
    // [wait] (state) Both the settings store's defMikesCount and the room header's MikesCount.
    virtual void Safe_SetMikesCount(int count) = 0;
    // [wait] (state) The current value of a boolean setting.
    virtual bool Safe_GetNoticeSetting(NoticeSetting setting) = 0;

    // [wait] Shows view 0 whiteboard, 1 guided web browser, 2 shared screen.
    virtual void Safe_SetView(int view) = 0;
    // [post]
    virtual void Safe_BlinkView(BlinkTarget target) = 0;
    // [post] A toast, dropped while toasts are suppressed.
    virtual void Safe_DisplayToast(const std::string& text, double seconds) = 0;
    // [post] One of the named system sounds ("sndEnter.aiff", ...).
    virtual void Safe_PlaySound(const std::string& name) = 0;

    // [wait] Loads an address in the guided browser, acknowledges it to `userId` while connected,
    // shows the web view and adds the address to the history.
    virtual void Safe_NavigateToUrl(const std::string& url, int userId) = 0;
    // [post] The recorder's answer to command 96, 97 or 98.
    virtual void Safe_NotifyRecorder(int commandId, int result) = 0;

    // [any] Sent on the main connection only while it exists; never waits for the main thread.
    virtual void send_ContentDoneToUid(int uid) = 0;
    virtual void send_LoadBreakoutRooms() = 0;
    virtual void send_ListUsersOfRoomId(int roomId) = 0;
};

// ---- participants and permissions
class ParticipantEntryPoints {
public:
    virtual ~ParticipantEntryPoints() = default;

    // [wait] (state) A copy of the participant, or nothing for an unknown uid.
    virtual std::optional<TUserItem> Safe_GetUserByID(int uid) = 0;
    // [wait] (state) Runs `change` on the participant's item on the main thread. Answers
    // false, without running it, for an unknown uid. The list is not redrawn.
    virtual bool Safe_ModifyUser(int uid, const std::function<void(TUserItem&)>& change) = 0;

    // [wait]
    virtual void Safe_AddUserItem(const TUserItem& item) = 0;
    // [wait]
    virtual void Safe_RemoveUserItem(int uid) = 0;
    // [wait] Redraws the participant list, sorting it again when `resort` is set.
    virtual void Safe_UpdateUserListView(bool resort) = 0;
    // [wait]
    virtual void Safe_UpdateMyControls() = 0;

    // [wait] (state) The own user's permissions.
    virtual void Safe_SetVoiceAllowed(bool allowed) = 0;
    virtual void Safe_SetBoardAllowed(bool allowed) = 0;
    virtual void Safe_SetVideoAllowed(bool allowed) = 0;

    // [wait] (state) A participant's microphone status; -1 resets it to 2 or 3 by its VoiceAllowed.
    virtual void Safe_SetMikeStatus(int uid, int status) = 0;
    // [wait] Microphone allowed (2) or forbidden (3).
    virtual void Safe_UpdateAudioStatusOfUser(int uid, int status) = 0;
    // [wait]
    virtual void Safe_UpdateBoardStatusOfUser(int uid, bool allowed) = 0;
    // [wait] Motion update with the previous motion taken back first, then a redraw.
    virtual void Safe_UpdateMotionStatus(int uid, int motion) = 0;
    // [wait] (state) The motion update with its counters, taking the previous motion back first
    // when decFirst is set; no redraw.
    virtual void Safe_UpdateMotionStatusDecFirst(int uid, int motion, bool decFirst) = 0;
    // [wait]
    virtual void Safe_ClearMotions() = 0;
    // [wait]
    virtual void Safe_SetGreenTickToUser(int uid) = 0;
    // [wait]
    virtual void Safe_SetOnlineStatusToUser(int uid, int status) = 0;
    // [wait]
    virtual void Safe_ToggleModeratorStatusOfUser(int uid, int userType) = 0;
    // [wait]
    virtual void Safe_UpdateVideoStatus(int uid, bool isOn) = 0;
    // [post] (state) Removed from the session with the host's reason.
    virtual void Safe_Kick(const std::string& reason) = 0;

    // [wait] The own microphone.
    virtual void Safe_StartMic() = 0;
    virtual void Safe_StopMic() = 0;
};

// ---- text chat, session notes and polls
class ChatEntryPoints {
public:
    virtual ~ChatEntryPoints() = default;

    // [wait]
    virtual void Safe_UpdateTextView(const TTextMessage& message) = 0;
    // [wait]
    virtual void Safe_AddNotificationMessage(const std::string& text) = 0;
    // [wait]
    virtual void Safe_AddErrorMessage(const std::string& text) = 0;
    // [post]
    virtual void Safe_SetChatStatus(int status) = 0;
    // [post]
    virtual void Safe_SetNotesStatus(int status) = 0;
    // [post]
    virtual void Safe_ClearTextChatLog() = 0;

    // [post]
    virtual void Safe_RunPoll(const TPingPacket& packet) = 0;
    // [post]
    virtual void Safe_ShowPollResultFromUser(int uid, int answer) = 0;
};

// ---- breakout rooms
class BreakoutEntryPoints {
public:
    virtual ~BreakoutEntryPoints() = default;

    // [wait] List block: the rooms in the order received (command 134).
    virtual void Safe_ListTempRooms(const std::vector<TRoomHeader>& rooms) = 0;
    // [wait] List block: the participants of one room (command 135).
    virtual void Safe_ListRoomUsers(int roomId, const std::vector<TClientRecord>& users) = 0;
    // [wait]
    virtual void Safe_MoveMeToRoomId(int roomId) = 0;
    // [wait]
    virtual void Safe_BreakoutRoomsStatus(bool allowed) = 0;
};

// ---- resource library
class LibraryEntryPoints {
public:
    virtual ~LibraryEntryPoints() = default;

    // [wait] List blocks: the entries in the order received, for the window of their kind.
    virtual void Safe_LoadSharedDocs(const std::vector<TFileInfo>& files) = 0;
    virtual void Safe_LoadInternetLinks(const std::vector<TFileInfo>& links) = 0;
    virtual void Safe_LoadPresentations(const std::vector<TFileInfo1>& presentations) = 0;
    // [post]
    virtual void Safe_DisplayDocOpenRequest(const std::string& fileName, int userId,
                                            const std::string& details) = 0;
};

// ---- whiteboards. Calls that carry a board index are ignored by the controller unless that
// board is the one shown (MyBoardIndex), which only the main thread may read.
class WhiteboardEntryPoints {
public:
    virtual ~WhiteboardEntryPoints() = default;

    // [wait]
    virtual void Safe_SwitchToBoard(int boardIndex) = 0;
    // [wait] -1 removes every board but the first.
    virtual void Safe_DeleteBoardFromList(int boardIndex) = 0;
    // [wait] One snapshot of the board list answer (79): processed without showing it, saved to
    // its board file only in playback.
    virtual void Safe_LoadServerBoard(const TBoardSnapshot& board) = 0;
    // [wait] The answer to a single-board request (159): processed, saved and shown.
    virtual void Safe_LoadSingleBoard(const TBoardSnapshot& board) = 0;
    // [wait] A new board (156), saved to its file; `fromUid` (the frame's sender) gets the
    // content-done answer.
    virtual void Safe_CreateXBoard(const TNewBoard& board, int fromUid) = 0;
    // [wait] An object update (158): the header and the undecoded body (empty for a deletion).
    virtual void Safe_PaintXObject(const TPaintObjectHeader& header, const Bytes& body) = 0;
    // [wait] A reorder (161): position -1 brings the object to the front, any other to the back.
    virtual void Safe_ItemReordered(int boardIndex, int localIndex, int position, int ownerUid) = 0;
    // [wait] A new image type (rotation in its second byte) for a board (165).
    virtual void Safe_SetBoardRotation(int boardIndex, int imageType) = 0;
    // [wait] Clear type 0 hides the markup, 1 shows it, 2 erases all objects (80).
    virtual void Safe_ClearWhiteboard(int boardIndex, int clearType) = 0;
    // [wait] The pointer of a board (56).
    virtual void Safe_Pointer(int boardIndex, int x, int y, bool show, int pointerIndex) = 0;
};

// ---- screen sharing and remote control
class ScreenShareEntryPoints {
public:
    virtual ~ScreenShareEntryPoints() = default;

    // [wait] The server refused a share (141 with a non-zero Result): AppShareStatus becomes 0.
    virtual void Safe_AppShareRefused() = 0;
    // [wait] A share started (141): keep the description and the status byte as AppShareStatus,
    // AppShareControlIn = 0, the sharer's share status 1; a viewer prepares its picture buffers.
    virtual void Safe_AppShareStarted(const TAppShareStruct& share, int status) = 0;
    // [wait] The own share was confirmed: start capturing.
    virtual void Safe_StartAppSharing() = 0;
    // [wait] The share of `sharerUid` ended.
    virtual void Safe_StopAppShare(int sharerUid) = 0;
    // [wait] A screen frame (144): its header and FrameSize body bytes (fewer when the payload
    // was cut short). Ignored while no share description exists.
    virtual void Safe_AppShareFrame(const TAppShareFrame& header, const Bytes& body) = 0;
    // [wait] Remote control given (state 1) to or taken (0) from `uid` (145): the previous
    // holder's and the named user's share status, AppShareControlIn.
    virtual void Safe_AppShareControl(int uid, int state) = 0;
    // [wait] The own user's remote control changed (145 naming the own user).
    virtual void Safe_SetAppShareControl(int state) = 0;
    // [wait] Injects a remote-control event on the sharer's machine (147). `buttonHeld` says
    // whether an earlier packet left a mouse button down; answers whether one is down afterwards.
    virtual bool Safe_AppShareRemoteControlPack(const TAppShareControlPacket& packet, bool buttonHeld) = 0;
    // [post] A moderator's request (166) from `fromUid`: stop the own share (forceStop) or ask the
    // user to share, handing remote control to `fromUid` afterwards when remoteControl > 0.
    virtual void Safe_AppShareForce(int fromUid, int targetUid, int quality, int showFlag, int remoteControl,
                                    bool forceStop) = 0;
};

// Everything the dispatcher calls, in one interface the classroom controller implements.
class ClassroomEntryPoints : public SessionEntryPoints,
                             public ParticipantEntryPoints,
                             public ChatEntryPoints,
                             public BreakoutEntryPoints,
                             public LibraryEntryPoints,
                             public WhiteboardEntryPoints,
                             public ScreenShareEntryPoints {
public:
    ~ClassroomEntryPoints() override = default;
};

}  // namespace veltrin
