#include <memory>
#include <unordered_map>

#include "server/core/Client.h"
#include "server/core/HandlerRegistry.h"
#include "server/core/Room.h"
#include "server/core/Server.h"
#include "server/features/Features.h"
#include "wire/Log.h"
#include "wire/ServerHandshake.h"
#include "wire/VCTools.h"

namespace veltrin::server {

namespace {

constexpr std::uint16_t kVoiceBlock = 9;
constexpr std::uint16_t kRelayedVoiceBlock = 27;
constexpr std::uint16_t kAudioKeepAlive = 100;
constexpr std::uint32_t kVoiceBlockSize = 320;
// The microphone state of a status pack while its owner holds a speaking channel. The main
// channel's permission feature is the only one that grants and releases it.
constexpr std::int32_t kMikeSpeaking = 4;


// The audio connection of every user who has one. A user opening a second audio channel replaces
// the first; closed connections are skipped (and forgotten) when they are met.
struct AudioChannels {
    std::unordered_map<std::int32_t, std::weak_ptr<Client>> byUid;

    Client* find(std::int32_t uid) {
        auto it = byUid.find(uid);
        if (it == byUid.end()) return nullptr;
        auto client = it->second.lock();
        if (!client || client->finishing()) {
            byUid.erase(it);
            return nullptr;
        }
        return client.get();
    }
};

// Who spoke, and whether they may: the floor belongs to the main connection of the same user,
// which must be in a room and hold a speaking channel there.
Room* speakingRoom(Server& server, std::int32_t uid) {
    Client* main = server.findOnline(uid);
    if (!main || !main->room()) return nullptr;
    return main->session().status.Mike_Status == kMikeSpeaking ? main->room() : nullptr;
}

void onVoiceBlock(CommandContext& ctx) {
    if (ctx.command.DataSize != kVoiceBlockSize) return;
    const std::int32_t speaker = ctx.client.uid();
    Room* room = speakingRoom(ctx.server, speaker);
    if (!room) return;

    TCommand relayed(kRelayedVoiceBlock, static_cast<std::uint32_t>(speaker), room->id(), kVoiceBlockSize);
    Bytes frame;
    frame.reserve(TCommand::kSize + kVoiceBlockSize);
    VCTools::writeCommandMD(frame, relayed);
    frame.insert(frame.end(), ctx.payload.begin(), ctx.payload.end());
    auto shared = std::make_shared<const Bytes>(std::move(frame));

    auto& channels = ctx.server.extensions().get<AudioChannels>();
    for (Client* listener : room->participants()) {
        if (listener->uid() == speaker) continue;
        if (Client* audio = channels.find(listener->uid())) {
            audio->send(shared);
            ctx.server.counters().relayed++;
        }
    }
}

HandlerRegistry& audioRegistry(Server& server) {
    struct Registry {
        HandlerRegistry registry;
    };
    return server.extensions().get<Registry>().registry;
}

// The audio log-on: the simple log-on record (UID = the user's id) and the room id as a word.
void onAudioLogOn(Server& server, Client& client, std::span<const std::uint8_t> block) {
    MemoryInputStream in(block);
    const TSimpleLogin login = readSimpleLogIn(in).value_or(TSimpleLogin{});
    const std::uint16_t result = server.config().logOnResult(login.Username, login.Password);
    const Account* account = server.config().findAccount(login.Username);
    MemoryOutputStream out;
    writeLogOnAnswer(out, result, nullptr);
    client.send(out.take());
    if (result != 0) {
        server.counters().logOnFailures++;
        logf("audio log-on refused (%u) from %s", result, client.peerAddress().c_str());
        client.closeAfterFlush("audio log-on refused");
        return;
    }
    // The account makes the connection count as logged on (idle timeout, trace lines) without
    // making it the user's main connection: Server::logOn would close the main one.
    client.session().account = account;
    client.session().userTypeId = account->userTypeId;
    server.extensions().get<AudioChannels>().byUid[account->uid] = client.shared_from_this();
    client.expectFrames(audioRegistry(server));
}

}  // namespace

void installAudioFeature(Server& server) {
    HandlerRegistry& registry = audioRegistry(server);
    registry.on(kVoiceBlock, onVoiceBlock);
    registry.ignore({kAudioKeepAlive});
    registry.setFallback([](CommandContext&) {});

    server.onSelector(251, [](Server& s, Client& c) {
        c.expectBlock(static_cast<std::size_t>(TSimpleLogin::kSize) + 2,
                      [&s](Client& cl, std::span<const std::uint8_t> b) { onAudioLogOn(s, cl, b); });
    });
}

}  // namespace veltrin::server
