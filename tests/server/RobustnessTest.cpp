#include <gtest/gtest.h>
#include <sys/socket.h>

#include <random>

#include "ServerTestSupport.h"

namespace veltrin::server::test {
namespace {

using testkit::decodeUserList;

class RobustnessTest : public ServerFixture {
protected:
    // Whoever is listed in the room, as `asker` sees it.
    std::vector<std::string> roomMembers(RawClient& asker) {
        std::vector<std::string> names;
        if (!asker.sendFrame(2)) return names;
        auto list = asker.waitFor(2);
        if (!list) return names;
        if (auto users = decodeUserList(*list))
            for (const auto& u : *users) names.push_back(u.UserName);
        return names;
    }
};

TEST_F(RobustnessTest, OversizedFrameDropsOnlyItsSender) {
    auto bystander = logOn("teacher", 1001);
    for (std::uint32_t size : {16u * 1024 * 1024 + 1, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(size);
        auto bomber = logOn("student1", 1001);
        TCommand bomb(kPlainRelayId, static_cast<std::uint32_t>(bomber->uid()), 1001, size);
        ASSERT_TRUE(bomber->sendFrame(bomb, {}));
        EXPECT_TRUE(bomber->waitClosed());
        EXPECT_EQ(roomMembers(*bystander), std::vector<std::string>{"teacher"});
    }
    EXPECT_EQ(server_.stats().dropped, 3u);
    // The largest allowed frame still goes through.
    auto big = logOn("student2", 1001);
    const Bytes payload(16u * 1024 * 1024, 0x5A);
    ASSERT_TRUE(big->sendFrame(kPlainRelayId, payload));
    auto relayed = bystander->waitFor(kPlainRelayId, std::chrono::seconds(20));
    ASSERT_TRUE(relayed);
    EXPECT_EQ(relayed->payload.size(), payload.size());
}

TEST_F(RobustnessTest, ClientVanishingMidFrameIsCleanedUp) {
    auto stays = logOn("teacher", 1001);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    TCommand header(kPlainRelayId, 102, 1001, 1000);
    Bytes headerBytes;
    VCTools::writeCommandMD(headerBytes, header);
    Bytes partPayload = headerBytes;
    partPayload.resize(partPayload.size() + 10, 0x11);
    const Case cases[] = {
        {"inside the header", Bytes(headerBytes.begin(), headerBytes.begin() + 9)},
        {"after the header", headerBytes},
        {"inside the payload", partPayload},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto leaving = logOn("student1", 1001);
        ASSERT_TRUE(leaving->sendBytes(c.bytes));
        leaving->close();
        ASSERT_TRUE(eventually([&] { return server_.control("users") == "users teacher:101:1001"; }));
        EXPECT_EQ(roomMembers(*stays), std::vector<std::string>{"teacher"});
    }
    EXPECT_EQ(server_.stats().active, 1u);
}

TEST_F(RobustnessTest, ClientLeavingDuringTheOpeningIsCleanedUp) {
    const std::size_t cutAt[] = {0, 1, 31, 32, 33, 36, 37, 100, 141};
    for (std::size_t n : cutAt) {
        SCOPED_TRACE(n);
        RawClient raw;
        ASSERT_TRUE(raw.connect("127.0.0.1", server_.port()));
        // The opening of a real client, cut after n bytes: version (32), selector (4), log-on (106).
        Bytes opening;
        VCTools::writeFixedStringMD(opening, "8.0", 10);
        VCTools::writeFixedStringMD(opening, "Mar-01-2015", 20);
        VCTools::writeBEIntMD(opening, 250);
        TSimpleLogin login;
        login.Username = login.Password = "student1";
        login.writeToMD(opening);
        ASSERT_EQ(opening.size(), 142u);
        ASSERT_TRUE(raw.sendBytes(std::span<const std::uint8_t>(opening).first(n)));
        raw.close();
        ASSERT_TRUE(eventually([&] { return server_.stats().active == 0; }));
    }
    EXPECT_EQ(server_.control("users"), "users");
}

TEST_F(RobustnessTest, GarbageNeverTakesTheServerDown) {
    std::mt19937 rng(20150301);
    auto randomBytes = [&](std::size_t n) {
        Bytes b(n);
        for (auto& x : b) x = static_cast<std::uint8_t>(rng());
        return b;
    };
    // Before the log-on: any bytes at all.
    for (int i = 0; i < 40; ++i) {
        RawClient raw;
        ASSERT_TRUE(raw.connect("127.0.0.1", server_.port()));
        raw.sendBytes(randomBytes(1 + rng() % 2000));
        if (i % 2 == 0) raw.waitClosed(std::chrono::milliseconds(50));
    }
    // After the log-on: well-framed commands with random ids and payloads, then raw noise.
    auto watcher = logOn("teacher", 1001);
    auto noisy = logOn("student1", 1001);
    for (int i = 0; i < 400; ++i) {
        const auto id = static_cast<std::uint16_t>(rng() % 200);
        noisy->sendFrame(id, randomBytes(rng() % 64));
    }
    ASSERT_TRUE(noisy->join(1001));  // whatever the noise did, it can come back
    EXPECT_EQ(roomMembers(*noisy), (std::vector<std::string>{"teacher", "student1"}));
    noisy->sendBytes(randomBytes(5000));
    noisy->close();
    ASSERT_TRUE(eventually([&] { return server_.stats().active == 1; }));  // only the watcher is left

    // Still serving: a fresh client goes all the way through.
    auto fresh = logOn("student2", 1001);
    EXPECT_EQ(roomMembers(*fresh), (std::vector<std::string>{"teacher", "student2"}));
}

class SlowReaderTest : public ServerFixture {
protected:
    static ServerOptions smallBacklog() {
        ServerOptions o;
        o.maxQueuedBytes = 256 * 1024;
        return o;
    }
    SlowReaderTest() : ServerFixture(smallBacklog()) {}
};

TEST_F(SlowReaderTest, ClientThatStopsReadingIsDroppedWithoutHoldingUpOthers) {
    auto silent = logOn("student1", 1001);
    const int tiny = 4096;
    ::setsockopt(silent->fd(), SOL_SOCKET, SO_RCVBUF, &tiny, sizeof tiny);
    auto talker = logOn("teacher", 1001);
    auto listener = logOn("student2", 1001);

    // Far more than the socket buffers and the backlog limit together can hold.
    const Bytes chunk(64 * 1024, 0x42);
    int sent = 0;
    for (; sent < 400 && server_.stats().dropped == 0; ++sent) {
        ASSERT_TRUE(talker->sendFrame(kPlainRelayId, chunk));
        // The listener keeps up, so only the silent client falls behind.
        ASSERT_TRUE(listener->waitFor(kPlainRelayId)) << sent;
    }
    ASSERT_TRUE(eventually([&] { return server_.stats().dropped == 1; }));
    EXPECT_EQ(server_.control("users"), "users teacher:101:1001 student2:103:1001");
    // The talker is served as before.
    ASSERT_TRUE(talker->sendFrame(150));
    EXPECT_TRUE(talker->waitFor(150));
}

class TimeoutTest : public ServerFixture {
protected:
    static ServerOptions shortTimeouts() {
        ServerOptions o;
        // Long enough for a log-on on a busy machine, short enough for a quick test.
        o.handshakeTimeout = std::chrono::milliseconds(1000);
        o.idleTimeout = std::chrono::milliseconds(500);
        return o;
    }
    TimeoutTest() : ServerFixture(shortTimeouts()) {}
};

TEST_F(TimeoutTest, SilentConnectionsAreDropped) {
    RawClient mute;
    ASSERT_TRUE(mute.connect("127.0.0.1", server_.port()));
    RawClient halfway;
    ASSERT_TRUE(halfway.connect("127.0.0.1", server_.port()));
    ASSERT_TRUE(halfway.sendVersion());
    auto idle = logOn("teacher");
    EXPECT_TRUE(mute.waitClosed());
    EXPECT_TRUE(halfway.waitClosed());
    EXPECT_TRUE(idle->waitClosed());
    EXPECT_EQ(server_.stats().dropped, 3u);
}

}  // namespace
}  // namespace veltrin::server::test
