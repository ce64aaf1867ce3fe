#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "InProcessServer.h"
#include "RawClient.h"

namespace veltrin::server::test {

using testkit::Frame;
using testkit::RawClient;

// An id no feature claims, so the server relays it unchanged: tests of the relay itself use it,
// where a real command would meet its feature's checks.
inline constexpr std::uint16_t kPlainRelayId = 200;

// The demo configuration plus a second room, a room that needs entry tokens and an inactive one.
inline ServerConfig testConfig() {
    ServerConfig c = demoConfig();
    RoomConfig second;
    second.id = 1002;
    second.name = "Second Room";
    RoomConfig guarded;
    guarded.id = 1003;
    guarded.name = "Token Room";
    guarded.tokensRequired = true;
    RoomConfig closed;
    closed.id = 1004;
    closed.name = "Closed Room";
    closed.active = false;
    c.rooms.insert(c.rooms.end(), {second, guarded, closed});
    c.tokens = {{1003, "tok-1003"}, {1001, "tok-1001"}};
    return c;
}

class ServerFixture : public ::testing::Test {
protected:
    explicit ServerFixture(ServerOptions options = {}) : server_(testConfig(), options) {}

    // A client logged on as `user` (demo passwords equal the user names), in `room` unless 0.
    std::unique_ptr<RawClient> logOn(const std::string& user, std::int32_t room = 0) {
        auto c = std::make_unique<RawClient>();
        EXPECT_EQ(c->open("127.0.0.1", server_.port(), user, user), 0) << user;
        if (room != 0) {
            auto answer = c->join(room);
            EXPECT_TRUE(answer && answer->header.Result == 0) << user << " joining " << room;
        }
        return c;
    }

    // Everything `c` received before the answer to a request sent now (150). The server handles a
    // connection's frames in order, so whatever `c`'s earlier commands caused is in there.
    static std::vector<Frame> receivedUntilAnswer(RawClient& c) {
        const std::size_t before = c.skipped().size();
        EXPECT_TRUE(c.sendFrame(150));
        EXPECT_TRUE(c.waitFor(150));
        return {c.skipped().begin() + static_cast<std::ptrdiff_t>(before), c.skipped().end()};
    }

    InProcessServer server_;
};

}  // namespace veltrin::server::test
