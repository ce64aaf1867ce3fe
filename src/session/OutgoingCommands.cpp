#include "session/OutgoingCommands.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>

#include "wire/AppShareRecords.h"
#include "wire/ByteOrder.h"
#include "wire/ClientSystemRecord.h"
#include "wire/FileInfo.h"
#include "wire/PaintObjectHeader.h"
#include "wire/PingPacket.h"
#include "wire/RecorderConfiguration.h"
#include "wire/TCommand.h"
#include "wire/TextMessage.h"
#include "wire/VCTools.h"

namespace veltrin {
namespace {

// Command ids of what the client sends; the server answers under the same ids. Append only.
namespace id {
constexpr std::uint16_t KeepAlive = 57;
constexpr std::uint16_t JoinVirtualRoom = 75;
constexpr std::uint16_t Token = 164;
constexpr std::uint16_t ConnectionSpeed = 154;
constexpr std::uint16_t TimeZone = 114;
constexpr std::uint16_t NeedRemotePorts = 113;
constexpr std::uint16_t ClientSystemRecord = 95;
constexpr std::uint16_t OnlineStatus = 64;
constexpr std::uint16_t Motion = 117;
constexpr std::uint16_t ForceUserMotion = 167;
constexpr std::uint16_t SetModeratorStatus = 99;
constexpr std::uint16_t AllowMic = 41;
constexpr std::uint16_t AllowBoard = 42;
constexpr std::uint16_t DenyMic = 43;
constexpr std::uint16_t DenyBoard = 44;
constexpr std::uint16_t KickUser = 60;
constexpr std::uint16_t SetNumberOfMikes = 125;
constexpr std::uint16_t TypingNotification = 151;
constexpr std::uint16_t ContentDone = 55;
constexpr std::uint16_t SetCurrentView = 118;
constexpr std::uint16_t TextMessage = 130;
constexpr std::uint16_t NotesMessage = 131;  // a text message of type 1
constexpr std::uint16_t SetChatPermissions = 129;
constexpr std::uint16_t SetNotesPermissions = 138;
constexpr std::uint16_t PingPacket = 63;
constexpr std::uint16_t PollResult = 66;
constexpr std::uint16_t LoadBreakoutRooms = 134;
constexpr std::uint16_t ListRoomUsers = 135;
constexpr std::uint16_t CreateBreakoutRoom = 133;
constexpr std::uint16_t PlaceUserInRoom = 137;
constexpr std::uint16_t StartRecorder = 96;
constexpr std::uint16_t StopRecorder = 97;
constexpr std::uint16_t PauseRecorder = 98;
constexpr std::uint16_t LoadPresentations = 49;
constexpr std::uint16_t LoadSharedDocs = 18;
constexpr std::uint16_t LoadInternetLinks = 24;
constexpr std::uint16_t UploadInternetLink = 25;
constexpr std::uint16_t DeleteDocument = 38;
constexpr std::uint16_t DeleteWebLink = 40;
constexpr std::uint16_t DeletePresentation = 58;
constexpr std::uint16_t ForceDocument = 30;
constexpr std::uint16_t ForceWebAddress = 32;
constexpr std::uint16_t GetBoardView = 119;
constexpr std::uint16_t LoadServerBoards = 79;
constexpr std::uint16_t LoadSingleBoard = 159;
constexpr std::uint16_t SetActiveBoard = 82;
constexpr std::uint16_t RotateWhiteboard = 165;
constexpr std::uint16_t ClearWhiteboard = 80;
constexpr std::uint16_t CreateXBoard = 156;
constexpr std::uint16_t UpdateObject = 158;
constexpr std::uint16_t RemoveWhiteboard = 157;
constexpr std::uint16_t Pointer = 56;
constexpr std::uint16_t ReorderObject = 161;
constexpr std::uint16_t LaunchSlide = 160;
constexpr std::uint16_t AppShareStart = 141;
constexpr std::uint16_t AppShareStop = 142;
constexpr std::uint16_t AppShareFrame = 144;
constexpr std::uint16_t AppShareControlPacket = 147;
constexpr std::uint16_t AppShareControl = 145;
constexpr std::uint16_t RequestRemoteScreenSharing = 166;
}  // namespace id

constexpr int kKickReasonSize = 49;
constexpr int kBreakoutRoomNameSize = 199;
constexpr std::int32_t kJpegImage = 1;
// Library file types of send_DeleteResource and send_ForceContent.
constexpr std::int32_t kDocumentType = 0;
constexpr std::int32_t kWebLinkType = 2;
constexpr std::int32_t kPresentationType = 4;

// Doubles that come from drawing code may be anything; converting an out-of-range double to an
// integer is undefined, so clamp first.
std::int32_t truncToInt32(double v) {
    if (!std::isfinite(v)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(std::clamp(v, lo, hi)));
}

std::uint8_t colorComponent(double component) {
    if (!std::isfinite(component)) return 0;
    const double scaled = std::trunc(std::clamp(component * 255.0, -1e9, 1e9));
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(scaled) & 0xff);
}

void writeColorMD(Bytes& md, const BoardColor& color) {
    VCTools::writeByteMD(md, colorComponent(color.red));
    VCTools::writeByteMD(md, colorComponent(color.green));
    VCTools::writeByteMD(md, colorComponent(color.blue));
    VCTools::writeByteMD(md, 0);
}

void writeBytesMD(Bytes& md, std::span<const std::uint8_t> bytes) { md.insert(md.end(), bytes.begin(), bytes.end()); }

long localUtcOffsetSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) return 0;
    return local.tm_gmtoff;
}

}  // namespace

void appendCommandFrame(Bytes& out, std::uint16_t commandId, std::uint32_t uid, std::int32_t rid,
                        const PayloadWriter& payload) {
    const std::size_t start = out.size();
    try {
        VCTools::writeCommandMD(out, TCommand(commandId, uid, rid));
        payload(out);
    } catch (...) {
        out.resize(start);
        throw;
    }
    const std::size_t dataSize = out.size() - start - TCommand::kSize;
    byteorder::storeLE32(out.data() + start + 16, static_cast<std::uint32_t>(dataSize));
}

OutgoingEnvironment OutgoingEnvironment::system() {
    return {&localUtcOffsetSeconds, [] { return VCTools::convertToDouble(std::chrono::system_clock::now()); }};
}

OutgoingCommands::OutgoingCommands() : environment_(OutgoingEnvironment::system()) {}

OutgoingCommands::~OutgoingCommands() = default;

void OutgoingCommands::setEnvironment(OutgoingEnvironment environment) {
    const OutgoingEnvironment defaults = OutgoingEnvironment::system();
    if (!environment.utcOffsetSeconds) environment.utcOffsetSeconds = defaults.utcOffsetSeconds;
    if (!environment.nowDayCount) environment.nowDayCount = defaults.nowDayCount;
    environment_ = std::move(environment);
}

void OutgoingCommands::setOwnFullName(std::string fullName) {
    std::lock_guard lock(nameLock_);
    ownFullName_ = std::move(fullName);
}

std::string OutgoingCommands::ownFullName() const {
    std::lock_guard lock(nameLock_);
    return ownFullName_;
}

void OutgoingCommands::appendEmpty(std::uint16_t commandId) {
    appendCommand(commandId, [](Bytes&) {});
}

void OutgoingCommands::appendInt(std::uint16_t commandId, std::int32_t value) {
    appendCommand(commandId, [&](Bytes& md) { VCTools::writeIntMD(md, value); });
}

void OutgoingCommands::appendInts(std::uint16_t commandId, std::int32_t first, std::int32_t second) {
    appendCommand(commandId, [&](Bytes& md) {
        VCTools::writeIntMD(md, first);
        VCTools::writeIntMD(md, second);
    });
}

// ---- session and participants

void OutgoingCommands::send_SimpleCommand(int commandId) { appendEmpty(static_cast<std::uint16_t>(commandId)); }

void OutgoingCommands::send_KeepAlive() { appendEmpty(id::KeepAlive); }

void OutgoingCommands::send_JoinVirtualRoom(std::int32_t roomId) { appendInt(id::JoinVirtualRoom, roomId); }

void OutgoingCommands::send_Token(const std::string& token) {
    appendCommand(id::Token, [&](Bytes& md) { VCTools::writeStringIntSizeMD(md, token); });
}

void OutgoingCommands::send_ConnectionSpeedBytesIn(std::int32_t bytesIn, std::int32_t bytesOut) {
    appendInts(id::ConnectionSpeed, bytesIn, bytesOut);
}

void OutgoingCommands::send_TimeZone() {
    // Minutes west of UTC: the offset with its sign inverted, the fraction dropped.
    const long minutes = environment_.utcOffsetSeconds() / -60;
    appendInt(id::TimeZone, static_cast<std::int32_t>(minutes));
}

void OutgoingCommands::send_NeedRemotePorts() { appendEmpty(id::NeedRemotePorts); }

void OutgoingCommands::send_ClientSystemRecord() {
    // A fresh record: the operating system's version number and nothing else.
    const TClientSystemRecord record;
    appendCommand(id::ClientSystemRecord, [&](Bytes& md) { record.writeToMD(md); });
}

void OutgoingCommands::send_OnlineStatus(std::uint8_t status) {
    appendCommand(id::OnlineStatus, [&](Bytes& md) { VCTools::writeByteMD(md, status); });
}

void OutgoingCommands::send_Motion(std::int32_t motion) { appendInt(id::Motion, motion); }

void OutgoingCommands::send_ForceUserMotion(std::int32_t userId, std::int32_t state) {
    appendInts(id::ForceUserMotion, userId, state);
}

void OutgoingCommands::send_SetModeratorStatusOfUser(std::int32_t userId, std::int32_t status) {
    appendInts(id::SetModeratorStatus, userId, status);
}

void OutgoingCommands::send_SetMicPermissionToUser(std::int32_t userId, bool allow) {
    appendInt(allow ? id::AllowMic : id::DenyMic, userId);
}

void OutgoingCommands::send_SetBoardPermissionToUser(std::int32_t userId, bool allow) {
    appendInt(allow ? id::AllowBoard : id::DenyBoard, userId);
}

void OutgoingCommands::send_KickUser(std::int32_t userId, const std::string& reason) {
    appendCommand(id::KickUser, [&](Bytes& md) {
        VCTools::writeIntMD(md, userId);
        VCTools::writeFixedStringMD(md, reason, kKickReasonSize);
    });
}

void OutgoingCommands::send_SetNumberOfMikes(std::int32_t count) { appendInt(id::SetNumberOfMikes, count); }

void OutgoingCommands::send_TypingNotification(std::int32_t state) { appendInt(id::TypingNotification, state); }

void OutgoingCommands::send_ContentDoneToUid(std::int32_t userId) { appendInt(id::ContentDone, userId); }

void OutgoingCommands::send_SetCurrentView(std::int32_t view) { appendInt(id::SetCurrentView, view); }

// ---- chat, notes and polls

void OutgoingCommands::send_TextMessage(const std::string& text, std::int32_t toUid, std::int32_t msgType) {
    TTextMessage message;
    message.FromUID = uid();
    message.ToUID = toUid;
    message.RoomID = rid() & 0xffff;
    message.MessageType = msgType;
    message.Text = text + "\r\n";
    appendCommand(msgType == 1 ? id::NotesMessage : id::TextMessage, [&](Bytes& md) { message.writeToMD(md); });
}

void OutgoingCommands::send_SetChatPermissions(std::int32_t value) { appendInt(id::SetChatPermissions, value); }

void OutgoingCommands::send_SetNotesPermissions(std::int32_t value) { appendInt(id::SetNotesPermissions, value); }

void OutgoingCommands::send_PingPacket(const TPingPacket& packet) {
    clearContentMarks();
    appendCommand(id::PingPacket, [&](Bytes& md) { packet.writeToMD(md); });
}

void OutgoingCommands::send_PollResultToUserId(std::int32_t userId, std::int32_t selection) {
    appendInts(id::PollResult, userId, selection);
}

// ---- breakout rooms

void OutgoingCommands::send_LoadBreakoutRooms() { appendEmpty(id::LoadBreakoutRooms); }

void OutgoingCommands::send_ListUsersOfRoomId(std::int32_t roomId) { appendInt(id::ListRoomUsers, roomId); }

void OutgoingCommands::send_CreateBreakoutRoom(const std::string& roomName) {
    appendCommand(id::CreateBreakoutRoom,
                  [&](Bytes& md) { VCTools::writeFixedStringMD(md, roomName, kBreakoutRoomNameSize); });
}

void OutgoingCommands::send_PlaceUserId(std::int32_t userId, std::int32_t roomId) {
    appendInts(id::PlaceUserInRoom, userId, roomId);
}

// ---- recorder

void OutgoingCommands::send_StartRecorder(const std::string& recorderName) {
    TRecorderConfiguration configuration;
    configuration.RecorderName = recorderName;
    appendCommand(id::StartRecorder, [&](Bytes& md) { configuration.writeToMD(md); });
}

void OutgoingCommands::send_StopRecorder() { appendEmpty(id::StopRecorder); }

void OutgoingCommands::send_PauseRecorder() { appendEmpty(id::PauseRecorder); }

// ---- resource library and shared content

void OutgoingCommands::send_LoadPresentationsWithTag(const std::string& tag, std::int32_t reserved) {
    appendCommand(id::LoadPresentations, [&](Bytes& md) {
        VCTools::writeIntMD(md, reserved);
        VCTools::writeStringIntSizeMD(md, tag);
    });
}

void OutgoingCommands::send_LoadSharedDocs() { appendEmpty(id::LoadSharedDocs); }

void OutgoingCommands::send_LoadInternetLinks() { appendEmpty(id::LoadInternetLinks); }

void OutgoingCommands::send_UploadInternetLink(const std::string& link, const std::string& uploadUser) {
    TFileInfo file;
    file.FileName = link;
    file.OriginalName = link;
    file.FileType = "WWW";
    file.Comment1 = link;
    file.UploadUser = uploadUser;
    file.UploadDateTime = environment_.nowDayCount();
    appendCommand(id::UploadInternetLink, [&](Bytes& md) { file.writeToMD(md); });
}

void OutgoingCommands::send_DeleteResource(const TFileInfo& file, std::int32_t type) {
    std::uint16_t commandId = 0;
    switch (type) {
        case kDocumentType: commandId = id::DeleteDocument; break;
        case kWebLinkType: commandId = id::DeleteWebLink; break;
        case kPresentationType: commandId = id::DeletePresentation; break;
        default: return;
    }
    appendCommand(commandId, [&](Bytes& md) { file.writeToMD(md); });
}

void OutgoingCommands::send_ForceContent(const TFileInfo& file, std::int32_t type) {
    clearContentMarks();
    appendCommand(type == kWebLinkType ? id::ForceWebAddress : id::ForceDocument,
                  [&](Bytes& md) { file.writeToMD(md); });
}

void OutgoingCommands::send_URL(const std::string& url) {
    TFileInfo file;
    file.FileName = url;
    file.OriginalName = url;
    file.FileType = "WWW";
    file.UploadUser = ownFullName();
    send_ForceContent(file, kWebLinkType);
}

// ---- whiteboards

void OutgoingCommands::send_GetBoardView() { appendInt(id::GetBoardView, 0); }

void OutgoingCommands::send_LoadServerBoards(bool value) {
    appendCommand(id::LoadServerBoards, [&](Bytes& md) { VCTools::writeBooleanMD(md, value); });
}

void OutgoingCommands::send_LoadSingleBoard(std::int32_t boardIndex) { appendInt(id::LoadSingleBoard, boardIndex); }

void OutgoingCommands::send_SetActiveBoard(std::int32_t boardIndex) { appendInt(id::SetActiveBoard, boardIndex); }

void OutgoingCommands::send_RotateWhiteboard(std::int32_t boardIndex, std::int32_t rotationIndex) {
    appendInts(id::RotateWhiteboard, boardIndex, rotationIndex);
}

void OutgoingCommands::send_ClearWhiteboard(std::int32_t boardIndex, std::int32_t clearType) {
    appendInts(id::ClearWhiteboard, boardIndex, clearType);
}

void OutgoingCommands::send_CreateXBoard(const std::string& title, std::int32_t width, std::int32_t height,
                                         const BoardColor& color, bool markupVisible,
                                         std::span<const std::uint8_t> jpegImage) {
    clearContentMarks();
    if (width == 0 || height == 0) return;
    const std::int32_t ownUid = uid();
    appendCommand(id::CreateXBoard, [&](Bytes& md) {
        // Index, presentation id and slide number: the server assigns them.
        VCTools::writeIntMD(md, 0);
        VCTools::writeIntMD(md, 0);
        VCTools::writeIntMD(md, 0);
        VCTools::writeIntMD(md, width);
        VCTools::writeIntMD(md, height);
        writeColorMD(md, color);
        VCTools::writeBooleanMD(md, markupVisible);
        VCTools::writeUTF16LEIntStringMD(md, title);
        VCTools::writeIntMD(md, ownUid);
        VCTools::writeBooleanMD(md, !jpegImage.empty());
        if (!jpegImage.empty()) {
            VCTools::writeIntMD(md, kJpegImage);
            VCTools::writeIntMD(md, static_cast<std::int32_t>(jpegImage.size()));
            writeBytesMD(md, jpegImage);
        }
    });
}

void OutgoingCommands::send_UpdateObject(const PaintObjectRef& object, std::int32_t updateType,
                                         std::span<const std::uint8_t> body) {
    const bool withBody = updateType != TPaintObjectHeader::kDeletedObject;
    TPaintObjectHeader header;
    header.UserId = object.userId;
    header.UpdateType = updateType;
    header.BoardIndex = object.boardIndex;
    header.LocalIndex = object.localIndex;
    header.isImage = object.isImage;
    header.ObjectSize = withBody ? static_cast<std::int32_t>(body.size()) : 0;
    appendCommand(id::UpdateObject, [&](Bytes& md) {
        header.writeToMD(md);
        if (withBody) writeBytesMD(md, body);
    });
}

void OutgoingCommands::send_RemoveWhiteboard(std::int32_t boardIndex, std::int32_t switchTo) {
    appendInts(id::RemoveWhiteboard, boardIndex, switchTo);
}

void OutgoingCommands::send_Pointer(std::int32_t pointerIndex, double x, double y, std::int32_t boardIndex,
                                    bool visible) {
    appendCommand(id::Pointer, [&](Bytes& md) {
        VCTools::writeIntMD(md, boardIndex);
        VCTools::writeIntMD(md, truncToInt32(x));
        VCTools::writeIntMD(md, truncToInt32(y));
        VCTools::writeBooleanMD(md, visible);
        VCTools::writeIntMD(md, pointerIndex);
    });
}

void OutgoingCommands::send_ReorderObjectId(std::int32_t objectId, std::int32_t userId, std::int32_t boardId,
                                            std::int32_t position) {
    appendCommand(id::ReorderObject, [&](Bytes& md) {
        VCTools::writeIntMD(md, boardId);
        VCTools::writeIntMD(md, objectId);
        VCTools::writeIntMD(md, position);
        VCTools::writeIntMD(md, userId);
    });
}

void OutgoingCommands::send_LaunchSlideX(std::int32_t boardIndex, const std::string& serverName,
                                         const std::string& displayName, std::int32_t presentationId,
                                         std::int32_t slideNo) {
    appendCommand(id::LaunchSlide, [&](Bytes& md) {
        VCTools::writeIntMD(md, boardIndex);
        VCTools::writeIntMD(md, presentationId);
        VCTools::writeIntMD(md, slideNo);
        VCTools::writeStringIntSizeMD(md, serverName);
        VCTools::writeStringIntSizeMD(md, displayName);
    });
}

// ---- screen sharing

void OutgoingCommands::send_AppShareStart(const TAppShareStruct& share) {
    appendCommand(id::AppShareStart, [&](Bytes& md) { share.writeToMD(md); });
}

void OutgoingCommands::send_AppShareStop() { appendEmpty(id::AppShareStop); }

void OutgoingCommands::send_AppShareFrame(const TAppShareFrame& frame, std::span<const std::uint8_t> body) {
    // A header whose FrameSize disagreed with the body would desynchronise every viewer's decoder.
    TAppShareFrame header = frame;
    header.FrameSize = static_cast<std::int32_t>(body.size());
    appendCommand(id::AppShareFrame, [&](Bytes& md) {
        header.writeToMD(md);
        writeBytesMD(md, body);
    });
}

void OutgoingCommands::send_AppShareControlPacket(const TAppShareControlPacket& packet) {
    appendCommand(id::AppShareControlPacket, [&](Bytes& md) { packet.writeToMD(md); });
}

void OutgoingCommands::send_SetAppShareControlToUser(std::int32_t userId, std::int32_t state) {
    appendInts(id::AppShareControl, userId, state);
}

void OutgoingCommands::send_RequestRemoteScreenSharing(std::int32_t userId, std::int32_t remoteControl,
                                                       std::int32_t quality, std::int32_t showVeltrin,
                                                       bool forceStop) {
    appendCommand(id::RequestRemoteScreenSharing, [&](Bytes& md) {
        VCTools::writeIntMD(md, userId);
        VCTools::writeIntMD(md, quality);
        VCTools::writeIntMD(md, showVeltrin);
        VCTools::writeIntMD(md, remoteControl);
        VCTools::writeBooleanMD(md, forceStop);
    });
}

// ---- CommandBuffer

void CommandBuffer::appendCommand(std::uint16_t commandId, const PayloadWriter& payload) {
    appendCommandFrame(data_, commandId, static_cast<std::uint32_t>(uid_), rid_, payload);
}

}  // namespace veltrin
