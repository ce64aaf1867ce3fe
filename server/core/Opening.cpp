#include "server/core/Opening.h"

#include "server/core/Client.h"
#include "server/core/Records.h"
#include "server/core/Server.h"
#include "wire/Handshake.h"
#include "wire/Log.h"
#include "wire/ServerHandshake.h"

namespace veltrin::server {

namespace {

constexpr std::size_t kSelectorSize = 4;

// Log-on answers the client has texts for.

void onSelector(Server& server, Client& client, std::span<const std::uint8_t> block) {
    MemoryInputStream in(block);
    const std::int32_t selector = readChannelSelector(in).value_or(0);
    if (const auto* fn = server.selector(selector)) {
        (*fn)(server, client);
    } else {
        logf("unknown channel selector %d", selector);
        client.close("unknown channel selector");
    }
}

void onVersion(Server& server, Client& client, std::span<const std::uint8_t>) {
    // The answer is the configured one whatever the client sent: tests force each outcome.
    const VersionAnswer& answer = server.config().version;
    const VersionIdentity identity{answer.version, answer.date};
    MemoryOutputStream out;
    writeVersionAnswer(out, answer.result, answer.withPayload ? &identity : nullptr);
    client.send(out.take());
    if (answer.result != 0) {
        // A refused client gives up; nothing useful can follow.
        client.closeAfterFlush("version refused");
        return;
    }
    client.expectBlock(kSelectorSize,
                       [&server](Client& c, std::span<const std::uint8_t> b) { onSelector(server, c, b); });
}

void onSimpleLogOn(Server& server, Client& client, std::span<const std::uint8_t> block) {
    MemoryInputStream in(block);
    const TSimpleLogin login = readSimpleLogIn(in).value_or(TSimpleLogin{});

    const std::uint16_t result = server.config().logOnResult(login.Username, login.Password);
    const Account* account = server.config().findAccount(login.Username);
    MemoryOutputStream out;
    if (result != 0) {
        server.counters().logOnFailures++;
        logf("log-on refused (%u) from %s", result, client.peerAddress().c_str());
        writeLogOnAnswer(out, result, nullptr);
        client.send(out.take());
        client.closeAfterFlush("log-on refused");
        return;
    }
    server.logOn(client, *account);
    client.session().logOnTime = VCTools::convertToDouble(std::chrono::system_clock::now());
    const TClientRecord record = makeClientRecord(client);
    writeLogOnAnswer(out, 0, &record);
    client.send(out.take());
    client.expectFrames(server.mainChannel());
}

}  // namespace

void startOpening(Server& server, Client& client) {
    client.expectBlock(static_cast<std::size_t>(kVersionExchangeSize),
                       [&server](Client& c, std::span<const std::uint8_t> b) { onVersion(server, c, b); });
}

void startMainLogOn(Server& server, Client& client) {
    client.expectBlock(static_cast<std::size_t>(TSimpleLogin::kSize),
                       [&server](Client& c, std::span<const std::uint8_t> b) { onSimpleLogOn(server, c, b); });
}

}  // namespace veltrin::server
