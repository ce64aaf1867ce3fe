#include <deque>
#include <string>

#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Relay.h"
#include "server/core/Server.h"
#include "server/features/Features.h"
#include "wire/Streams.h"
#include "wire/TextMessage.h"

namespace veltrin::server {

namespace {

// Message kinds a client may send: public text, private text, session or private note. The
// system and notification kinds are local lines of each client and never travel.
constexpr std::int32_t kPublicText = 0;
constexpr std::int32_t kPrivateText = 1;
constexpr std::int32_t kNote = 5;

// Chat status codes: everything allowed, public messages only, all text messages disabled.
constexpr std::int32_t kChatAll = 0;
constexpr std::int32_t kChatPublicOnly = 1;
constexpr std::int32_t kChatDisabled = 3;

// The replay keeps what a client shows after joining: its own logs hold this many entries.
constexpr std::size_t kChatKept = 101;
constexpr std::size_t kNotesKept = 41;

struct StoredMessage {
    std::string senderName;
    std::uint16_t commandId = 0;
    std::int32_t fromUid = 0;
    std::int32_t toUid = 0;
    Bytes record;  // the message as it was delivered
};

struct ChatRoom {
    std::int32_t chatStatus = kChatAll;
    std::int32_t notesStatus = 0;
    std::deque<StoredMessage> chat;
    std::deque<StoredMessage> notes;
};

void broadcast(Server& server, Room& room, Client& origin, std::uint16_t commandId, std::span<const std::uint8_t> payload = {}) {
    server.counters().relayed += sendToRoom(room, frameFrom(origin, room, commandId, 0, payload), nullptr);
}

// Moderators and administrators are never held back by the chat and notes switches.
bool mayPost(const ChatRoom& state, const Client& sender, const TTextMessage& m) {
    if (sender.privileged()) return true;
    if (m.MessageType == kNote) return state.notesStatus == 0;
    if (state.chatStatus == kChatDisabled) return false;
    return !(state.chatStatus == kChatPublicOnly && m.ToUID != 0);
}

void keep(std::deque<StoredMessage>& log, std::size_t limit, StoredMessage entry) {
    if (log.size() >= limit) log.pop_front();
    log.push_back(std::move(entry));
}

// Text messages and notes: to everybody when ToUID is 0, else to the receiver and the sender. The
// record is rebuilt from what was read, with the sender's uid and the room, so nobody can post in
// another participant's name and nothing malformed is passed on.
void onTextMessage(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    MemoryInputStream in(ctx.payload);
    TTextMessage m = VCTools::readTextMessage(in);
    const std::size_t needed = static_cast<std::size_t>(TTextMessage::kStructureSize) + static_cast<std::size_t>(m.MessageSize) + 1;
    if (ctx.payload.size() < needed) return;
    if (m.MessageType != kPublicText && m.MessageType != kPrivateText && m.MessageType != kNote) return;
    auto& state = room->extensions().get<ChatRoom>();
    if (!mayPost(state, ctx.client, m)) return;
    Client* receiver = nullptr;
    if (m.ToUID != 0) {
        receiver = ctx.server.findOnline(m.ToUID);
        if (!receiver || receiver->room() != room) return;
    }
    m.FromUID = ctx.client.uid();
    m.RoomID = room->id() & 0xFFFF;
    Bytes record;
    m.writeToMD(record);
    const auto frame = frameFrom(ctx.client, *room, ctx.command.CommandID, 0, record);
    if (receiver) {
        receiver->send(frame);
        if (receiver != &ctx.client) ctx.client.send(frame);
        ctx.server.counters().relayed++;
    } else {
        ctx.server.counters().relayed += sendToRoom(*room, frame, nullptr);
    }
    StoredMessage entry{ctx.client.session().account->fullName, ctx.command.CommandID, m.FromUID, m.ToUID, std::move(record)};
    if (m.MessageType == kNote)
        keep(state.notes, kNotesKept, std::move(entry));
    else
        keep(state.chat, kChatKept, std::move(entry));
}

// The stored messages this participant may see, oldest first: each as the sender's name, the frame
// it travelled in and the message.
void appendReplay(Bytes& out, const std::deque<StoredMessage>& log, const Client& reader, const Room& room) {
    for (const StoredMessage& e : log) {
        if (e.toUid != 0 && e.toUid != reader.uid() && e.fromUid != reader.uid()) continue;
        VCTools::writeStringIntSizeMD(out, e.senderName);
        TCommand header(e.commandId, static_cast<std::uint32_t>(e.fromUid), room.id(), static_cast<std::uint32_t>(e.record.size()));
        VCTools::writeCommandMD(out, header);
        out.insert(out.end(), e.record.begin(), e.record.end());
    }
}

void onChatLog(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    const auto& state = room->extensions().get<ChatRoom>();
    Bytes payload;
    appendReplay(payload, state.chat, ctx.client, *room);
    appendReplay(payload, state.notes, ctx.client, *room);
    ctx.client.sendFrame(162, 0, payload);
}

// Clears the chat for everybody; notes are not part of it.
void onClearChatLog(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    room->extensions().get<ChatRoom>().chat.clear();
    broadcast(ctx.server, *room, ctx.client, 163);
}

void answerStatus(CommandContext& ctx, std::uint16_t commandId, std::int32_t ChatRoom::*field) {
    Room* room = ctx.client.room();
    if (!room) return;
    Bytes payload;
    VCTools::writeIntMD(payload, room->extensions().get<ChatRoom>().*field);
    ctx.client.sendFrame(commandId, 0, payload);
}

void onSetChatStatus(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    PayloadReader p(ctx.payload);
    const std::int32_t code = p.readInt();
    if (!p.complete() || (code != kChatAll && code != kChatPublicOnly && code != kChatDisabled)) return;
    room->extensions().get<ChatRoom>().chatStatus = code;
    Bytes payload;
    VCTools::writeIntMD(payload, code);
    broadcast(ctx.server, *room, ctx.client, 129, payload);
}

void onSetNotesStatus(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    PayloadReader p(ctx.payload);
    const std::int32_t code = p.readInt();
    if (!p.complete()) return;
    const std::int32_t stored = code != 0 ? 1 : 0;
    room->extensions().get<ChatRoom>().notesStatus = stored;
    Bytes payload;
    VCTools::writeIntMD(payload, stored);
    broadcast(ctx.server, *room, ctx.client, 138, payload);
}

void onTyping(CommandContext& ctx) {
    Room* room = ctx.client.room();
    PayloadReader p(ctx.payload);
    const std::int32_t state = p.readInt();
    if (!room || !p.complete()) return;
    Bytes payload;
    VCTools::writeIntMD(payload, state);
    ctx.server.counters().relayed += sendToRoom(*room, frameFrom(ctx.client, *room, 151, 0, payload), &ctx.client);
}

}  // namespace

void installChatFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(130, onTextMessage);
    r.on(131, onTextMessage);
    r.on(162, onChatLog);
    r.on(163, onClearChatLog);
    r.on(128, [](CommandContext& ctx) { answerStatus(ctx, 128, &ChatRoom::chatStatus); });
    r.on(139, [](CommandContext& ctx) { answerStatus(ctx, 139, &ChatRoom::notesStatus); });
    r.on(129, onSetChatStatus);
    r.on(138, onSetNotesStatus);
    r.on(151, onTyping);
}

}  // namespace veltrin::server
