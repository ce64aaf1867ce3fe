#include <gtest/gtest.h>
#include <signal.h>

#include "RawClient.h"
#include "ServerProcess.h"

namespace veltrin::testkit {
namespace {

TEST(ServerProcessTest, ListensOnEveryPortAndTracesTheClientsCommands) {
    ServerProcess::Options options;
    options.listenPorts = 2;
    ServerProcess server(options);
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.ports().size(), 2u);
    EXPECT_NE(server.port(0), server.port(1));
    EXPECT_EQ(server.listeningLines()[0], "127.0.0.1:" + std::to_string(server.port(0)));

    RawClient first, second;
    ASSERT_EQ(first.open("127.0.0.1", server.port(0), "teacher", "teacher"), 0);
    ASSERT_EQ(second.open("127.0.0.1", server.port(1), "student1", "student1"), 0);

    // The opening commands of a client, in the order it sends them.
    second.setRoomId(1001);
    ASSERT_TRUE(second.sendFrame(164, tokenPayload("launch-token")));
    ASSERT_TRUE(second.sendFrame(154, intPayload({1000, 2000})));
    ASSERT_TRUE(second.sendFrame(114, intPayload({-60})));
    ASSERT_TRUE(second.sendFrame(113));
    ASSERT_TRUE(second.join(1001));
    ASSERT_TRUE(second.sendFrame(57));
    ASSERT_TRUE(server.waitForCommand(second.uid(), 57));
    const std::vector<TraceEntry> expected = {
        {second.uid(), 164, 16}, {second.uid(), 154, 8}, {second.uid(), 114, 4},
        {second.uid(), 113, 0},  {second.uid(), 75, 4},  {second.uid(), 57, 0},
    };
    EXPECT_EQ(server.traceOf(second.uid()), expected);
    EXPECT_TRUE(server.traceOf(first.uid()).empty());
}

TEST(ServerProcessTest, ControlChannelAnswersAndQuits) {
    ServerProcess server;
    ASSERT_TRUE(server.start()) << server.error();
    RawClient client;
    ASSERT_EQ(client.open("127.0.0.1", server.port(), "student2", "student2"), 0);

    EXPECT_EQ(server.control("users"), "users student2:103:0");
    EXPECT_EQ(server.control("hold-join on"), "ok hold-join on");
    EXPECT_EQ(server.control("drop student2"), "ok drop student2");
    EXPECT_TRUE(client.waitClosed());
    const auto stats = server.control("stats");
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->rfind("stats connections=1 active=0 logons=1 ", 0), 0u) << *stats;
    EXPECT_EQ(server.control("quit"), "ok quit");
    EXPECT_EQ(server.waitExit(std::chrono::seconds(10)), 0);
}

TEST(ServerProcessTest, StopsCleanlyOnSignals) {
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig);
        ServerProcess server;
        ASSERT_TRUE(server.start()) << server.error();
        RawClient client;
        ASSERT_EQ(client.open("127.0.0.1", server.port(), "teacher", "teacher"), 0);
        ASSERT_TRUE(client.join(1001));
        EXPECT_EQ(server.signalAndWait(sig), 0);
        EXPECT_TRUE(client.waitClosed());
    }
}

TEST(ServerProcessTest, UsesTheRoomsFile) {
    ServerProcess::Options options;
    options.roomsText =
        "version 8.0 Jun-01-2015\n"
        "account lee pass 1000 \"Lee Lecturer\" uid=4000\n"
        "room 77 \"Small Room\" mikes=1\n";
    ServerProcess server(options);
    ASSERT_TRUE(server.start()) << server.error();

    RawClient client;
    ASSERT_TRUE(client.connect("127.0.0.1", server.port()));
    ASSERT_TRUE(client.sendVersion());
    auto version = client.readFrame();
    ASSERT_TRUE(version);
    MemoryInputStream in(version->payload);
    VCTools::readFixedString(in, 10);
    EXPECT_EQ(VCTools::readFixedString(in, 20), "Jun-01-2015");
    ASSERT_TRUE(client.sendSelector(250));
    ASSERT_TRUE(client.sendLogOn("lee", "pass"));
    auto answer = client.readLogOnAnswer();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->header.Result, 0);
    EXPECT_EQ(client.uid(), 4000);
    auto join = client.join(77);
    ASSERT_TRUE(join);
    auto decoded = decodeJoinAnswer(*join);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->room.Name, "Small Room");
    EXPECT_EQ(decoded->room.MikesCount, 1);

    RawClient demoUser;
    EXPECT_EQ(demoUser.open("127.0.0.1", server.port(), "teacher", "teacher"), 1);  // not in this file
}

TEST(ServerProcessTest, RefusesABadRoomsFileNamingTheLine) {
    ServerProcess::Options options;
    options.roomsText = "room 1 \"Fine\"\nroom 2 \"Broken\" mikes=lots\n";
    ServerProcess server(options);
    EXPECT_FALSE(server.start());
    EXPECT_EQ(server.waitExit(std::chrono::seconds(10)), 2);
    EXPECT_TRUE(server.waitForStderr(":2: 'mikes' needs a number"));
}

}  // namespace
}  // namespace veltrin::testkit
