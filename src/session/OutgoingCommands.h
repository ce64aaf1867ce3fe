#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <type_traits>

#include "wire/Streams.h"

namespace veltrin {

struct TAppShareControlPacket;
struct TAppShareFrame;
struct TAppShareStruct;
struct TFileInfo;
struct TPingPacket;

// Writes one command's payload into the buffer the command is being composed in. A borrowed
// callable: it lives only for the call that receives it.
class PayloadWriter {
public:
    template <class F>
        requires(!std::is_same_v<std::remove_cvref_t<F>, PayloadWriter> && std::is_invocable_v<F&, Bytes&>)
    PayloadWriter(F&& writer)  // NOLINT(google-explicit-constructor): lambdas convert at the call
        : target_(const_cast<void*>(static_cast<const void*>(&writer))),
          call_([](void* target, Bytes& out) { (*static_cast<std::remove_reference_t<F>*>(target))(out); }) {}

    void operator()(Bytes& out) const { call_(target_, out); }

private:
    void* target_;
    void (*call_)(void*, Bytes&);
};

// Appends one whole command to `out`: the 22-byte frame (uid, the low 16 bits of rid, time stamp
// and result 0) and the payload. DataSize is set from the bytes the payload writer produced, so it
// is exact whatever the writer does; if the writer throws, `out` is left as it was.
void appendCommandFrame(Bytes& out, std::uint16_t commandId, std::uint32_t uid, std::int32_t rid,
                        const PayloadWriter& payload);

// A whiteboard colour with components from 0.0 to 1.0. On the wire each component is
// trunc(component × 255) with the low 8 bits kept, and a fourth byte 0.
struct BoardColor {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// The identity of a paint object as the object update header carries it. The body that follows
// belongs to the whiteboard, which encodes it (with the image data type it chose) before sending.
struct PaintObjectRef {
    std::int32_t userId = 0;
    std::int32_t boardIndex = 0;
    std::int32_t localIndex = 0;
    bool isImage = false;  // the object is an image (kind 5)
};

// What composing some commands takes from the machine; replaceable so that tests are repeatable.
struct OutgoingEnvironment {
    // Seconds the local time zone is ahead of UTC at this moment (UTC+2 gives 7200).
    std::function<long()> utcOffsetSeconds;
    // The current day-count date.
    std::function<double()> nowDayCount;

    static OutgoingEnvironment system();
};

// The catalogue of commands the client sends on the main channel. Each send_ operation appends one
// whole command through appendCommand, which the main connection implements under its output lock
// (so commands of different threads never interleave) and CommandBuffer implements for tests and
// tools. All send_ operations may be called from any thread.
//
// Payloads owned by later features are taken ready-made: a paint object's body as bytes, a board's
// background as JPEG bytes, screen frames as compressed bytes; their records (share description,
// frame header, control packet, poll packet, library file) are the wire records themselves.
class OutgoingCommands {
public:
    OutgoingCommands();
    OutgoingCommands(const OutgoingCommands&) = delete;
    OutgoingCommands& operator=(const OutgoingCommands&) = delete;
    virtual ~OutgoingCommands();

    // The own user id (UserID of every frame) and the room id (its low 16 bits are RoomIndex).
    virtual std::int32_t uid() const = 0;
    virtual std::int32_t rid() const = 0;

    // Set before commands are sent; not guarded.
    void setEnvironment(OutgoingEnvironment environment);
    // The own full name, used as the uploader of a web address pushed with send_URL.
    void setOwnFullName(std::string fullName);
    std::string ownFullName() const;

    // ---- session and participants
    void send_SimpleCommand(int commandId);  // no payload
    void send_KeepAlive();
    void send_JoinVirtualRoom(std::int32_t roomId);
    void send_Token(const std::string& token);
    void send_ConnectionSpeedBytesIn(std::int32_t bytesIn, std::int32_t bytesOut);
    void send_TimeZone();
    void send_NeedRemotePorts();
    void send_ClientSystemRecord();
    void send_OnlineStatus(std::uint8_t status);
    void send_Motion(std::int32_t motion);
    void send_ForceUserMotion(std::int32_t userId, std::int32_t state);
    void send_SetModeratorStatusOfUser(std::int32_t userId, std::int32_t status);
    void send_SetMicPermissionToUser(std::int32_t userId, bool allow);
    void send_SetBoardPermissionToUser(std::int32_t userId, bool allow);
    void send_KickUser(std::int32_t userId, const std::string& reason);
    void send_SetNumberOfMikes(std::int32_t count);
    void send_TypingNotification(std::int32_t state);
    void send_ContentDoneToUid(std::int32_t userId);
    void send_SetCurrentView(std::int32_t view);

    // ---- chat, notes and polls
    // The text goes out followed by "\r\n"; message type 1 uses command 131, any other 130.
    void send_TextMessage(const std::string& text, std::int32_t toUid, std::int32_t msgType);
    void send_SetChatPermissions(std::int32_t value);
    void send_SetNotesPermissions(std::int32_t value);
    // Clears the content-done marks first.
    void send_PingPacket(const TPingPacket& packet);
    void send_PollResultToUserId(std::int32_t userId, std::int32_t selection);

    // ---- breakout rooms
    void send_LoadBreakoutRooms();
    void send_ListUsersOfRoomId(std::int32_t roomId);
    void send_CreateBreakoutRoom(const std::string& roomName);
    void send_PlaceUserId(std::int32_t userId, std::int32_t roomId);

    // ---- recorder
    void send_StartRecorder(const std::string& recorderName);
    void send_StopRecorder();
    void send_PauseRecorder();

    // ---- resource library and shared content
    void send_LoadPresentationsWithTag(const std::string& tag, std::int32_t reserved);
    void send_LoadSharedDocs();
    void send_LoadInternetLinks();
    void send_UploadInternetLink(const std::string& link, const std::string& uploadUser);
    // Type 0 documents, 2 web links, 4 presentations; any other type sends nothing.
    void send_DeleteResource(const TFileInfo& file, std::int32_t type);
    // Clears the content-done marks first. Type 2 (a web address) uses command 32, others 30.
    void send_ForceContent(const TFileInfo& file, std::int32_t type);
    void send_URL(const std::string& url);

    // ---- whiteboards
    void send_GetBoardView();
    void send_LoadServerBoards(bool value);
    void send_LoadSingleBoard(std::int32_t boardIndex);
    void send_SetActiveBoard(std::int32_t boardIndex);
    void send_RotateWhiteboard(std::int32_t boardIndex, std::int32_t rotationIndex);
    void send_ClearWhiteboard(std::int32_t boardIndex, std::int32_t clearType);
    // Clears the content-done marks first, then sends nothing when width or height is 0. An empty
    // jpegImage means a board without background image.
    void send_CreateXBoard(const std::string& title, std::int32_t width, std::int32_t height, const BoardColor& color,
                           bool markupVisible, std::span<const std::uint8_t> jpegImage);
    // `body` is the object's encoded body (ignored for update type 2, which carries none).
    void send_UpdateObject(const PaintObjectRef& object, std::int32_t updateType, std::span<const std::uint8_t> body);
    void send_RemoveWhiteboard(std::int32_t boardIndex, std::int32_t switchTo);
    // The point is in board units; its coordinates go out truncated.
    void send_Pointer(std::int32_t pointerIndex, double x, double y, std::int32_t boardIndex, bool visible);
    void send_ReorderObjectId(std::int32_t objectId, std::int32_t userId, std::int32_t boardId, std::int32_t position);
    void send_LaunchSlideX(std::int32_t boardIndex, const std::string& serverName, const std::string& displayName,
                           std::int32_t presentationId, std::int32_t slideNo);

    // ---- screen sharing
    void send_AppShareStart(const TAppShareStruct& share);
    void send_AppShareStop();
    // `body` is the compressed frame body; the header's FrameSize is sent as body.size().
    void send_AppShareFrame(const TAppShareFrame& frame, std::span<const std::uint8_t> body);
    void send_AppShareControlPacket(const TAppShareControlPacket& packet);
    void send_SetAppShareControlToUser(std::int32_t userId, std::int32_t state);
    void send_RequestRemoteScreenSharing(std::int32_t userId, std::int32_t remoteControl, std::int32_t quality,
                                         std::int32_t showVeltrin, bool forceStop);

protected:
    // Appends one whole command (frame and payload) atomically with respect to other commands.
    virtual void appendCommand(std::uint16_t commandId, const PayloadWriter& payload) = 0;
    // Called before the commands that start new content (polls, forced content, new boards) so
    // that the participants' content-done marks are cleared; never called under an output lock.
    virtual void clearContentMarks() {}

private:
    void appendEmpty(std::uint16_t commandId);
    void appendInt(std::uint16_t commandId, std::int32_t value);
    void appendInts(std::uint16_t commandId, std::int32_t first, std::int32_t second);

    OutgoingEnvironment environment_;
    mutable std::mutex nameLock_;
    std::string ownFullName_;
};

// Composes commands into a byte buffer of its own: for tests, recordings and tools that need the
// exact bytes of a command without a connection.
class CommandBuffer final : public OutgoingCommands {
public:
    CommandBuffer(std::int32_t uid, std::int32_t rid) : uid_(uid), rid_(rid) {}

    std::int32_t uid() const override { return uid_; }
    std::int32_t rid() const override { return rid_; }
    const Bytes& data() const { return data_; }
    Bytes take() { return std::move(data_); }
    // How many times the content-done marks would have been cleared.
    int contentMarkClears() const { return contentMarkClears_; }

protected:
    void appendCommand(std::uint16_t commandId, const PayloadWriter& payload) override;
    void clearContentMarks() override { ++contentMarkClears_; }

private:
    std::int32_t uid_;
    std::int32_t rid_;
    Bytes data_;
    int contentMarkClears_ = 0;
};

}  // namespace veltrin
