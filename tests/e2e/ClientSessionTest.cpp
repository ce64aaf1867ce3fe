// The real client binary against the reference server: what a user launching a link sees, read
// from the unattended run's log, and what the server receives.

#include <QTcpServer>

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/ClientProcess.h"
#include "tests/support/DanteServer.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestRooms.h"

using namespace std::chrono_literals;

namespace veltrin::testing {
namespace {


QString joinLink(int port, const QString& user, const QString& extra = {}) {
    return QStringLiteral("vcc8join://127.0.0.1:%1/%2/%2/1001%3").arg(port).arg(user, extra);
}

class ClientSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(1, {QStringLiteral("--rooms"), writeTempFile(QString::fromLatin1(kTestRooms))}))
            << server.error().toStdString();
    }

    bool contains(const std::vector<int>& commands, int command) {
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    }

    ServerProcess server;
};

TEST_F(ClientSession, TwoClientsJoinTheRoomWithTheExactOpeningSequence) {
    ClientProcess teacher;
    ClientProcess student;
    ASSERT_TRUE(teacher.start({joinLink(server.port(), QStringLiteral("teacher"))}));
    ASSERT_TRUE(student.start({joinLink(server.port(), QStringLiteral("student1"))}));
    const std::vector<int> expected{154, 114, 113, 75, 2, 79, 81, 121, 119, 115, 128, 139, 140, 150, 162, 152, 148, 95};
    ASSERT_TRUE(waitUntil([&] {
        return server.commandsFrom(101).size() >= expected.size() && server.commandsFrom(102).size() >= expected.size();
    }, 20s)) << teacher.log().toStdString();
    for (const int uid : {101, 102}) {
        std::vector<int> opening = server.commandsFrom(uid);
        opening.resize(expected.size());
        EXPECT_EQ(opening, expected) << "user " << uid;
    }
    EXPECT_TRUE(teacher.logContains(QStringLiteral("joinedVirtualRoom: selector on main thread")));
    EXPECT_TRUE(student.logContains(QStringLiteral("joinedVirtualRoom: selector on main thread")));
    EXPECT_FALSE(teacher.logContains(QStringLiteral("automation: box")));
}

TEST_F(ClientSession, SecondPortTakesOverWhenTheFirstRefuses) {
    ClientProcess client;
    // Port 1 refuses; the link's fifth and sixth components name the fallback ports.
    const QString link = QStringLiteral("vcc8join://127.0.0.1:%1/teacher/teacher/1001/%2/%3/%4")
                             .arg(closedPort())
                             .arg(QStringLiteral("5a1c9e37-b2d4-4f86-a3e1-7c9d2b6f8e42"))
                             .arg(server.port())
                             .arg(closedPort());
    ASSERT_TRUE(client.start({link}));
    ASSERT_TRUE(waitUntil([&] { return client.logContains(QStringLiteral("joinedVirtualRoom")); }, 20s))
        << client.log().toStdString();
    EXPECT_TRUE(client.logContains(QStringLiteral("status line: Connected to: 127.0.0.1:%1").arg(server.port())));
}

TEST_F(ClientSession, AllPortsFailingShowsTheConnectionFailedBoxAndTheWelcomeArea) {
    ClientProcess client;
    const QString link = QStringLiteral("vcc8join://127.0.0.1:%1/teacher/teacher/1001/%2/%3/%4")
                             .arg(closedPort())
                             .arg(QStringLiteral("5a1c9e37-b2d4-4f86-a3e1-7c9d2b6f8e42"))
                             .arg(closedPort())
                             .arg(closedPort());
    ASSERT_TRUE(client.start({link}));
    ASSERT_TRUE(waitUntil([&] { return client.logContains(QStringLiteral("classroom status:")); }, 30s))
        << client.log().toStdString();
    EXPECT_EQ(client.count(QStringLiteral("automation: box")), 1);
    EXPECT_TRUE(client.logContains(QStringLiteral("automation: box \"Connection Failed\" \"Unable to connect")));
    EXPECT_TRUE(client.logContains(QStringLiteral("classroom status: -7")));
    EXPECT_FALSE(client.hasExited());
}

TEST_F(ClientSession, OutdatedClientIsToldAndQuits) {
    ServerProcess outdated;
    ASSERT_TRUE(outdated.start(1, {QStringLiteral("--rooms"),
                                   writeTempFile(QString::fromLatin1(kTestRooms) +
                                                 QStringLiteral("version 8.0 Mar-01-2015 result=21 payload=no\n"))}));
    QTcpServer secondPort;
    ASSERT_TRUE(secondPort.listen(QHostAddress::LocalHost, 0));
    ClientProcess client;
    const QString link = QStringLiteral("vcc8join://127.0.0.1:%1/teacher/teacher/1001/%2/%3")
                             .arg(outdated.port())
                             .arg(QStringLiteral("5a1c9e37-b2d4-4f86-a3e1-7c9d2b6f8e42"))
                             .arg(secondPort.serverPort());
    ASSERT_TRUE(client.start({link}));
    ASSERT_TRUE(waitUntil([&] { return client.hasExited(); }, 20s)) << client.log().toStdString();
    EXPECT_TRUE(client.logContains(QStringLiteral("classroom status: -6")));
    EXPECT_EQ(client.count(QStringLiteral("automation: box")), 1);
    EXPECT_FALSE(secondPort.hasPendingConnections());
}

TEST_F(ClientSession, RefusedTokenShowsOneBoxAndQuits) {
    ClientProcess first;
    ASSERT_TRUE(first.start({joinLink(server.port(), QStringLiteral("teacher"), QStringLiteral("/once-only"))}));
    ASSERT_TRUE(waitUntil([&] { return first.logContains(QStringLiteral("joinedVirtualRoom")); }, 20s));
    ClientProcess second;
    ASSERT_TRUE(second.start({joinLink(server.port(), QStringLiteral("student1"), QStringLiteral("/once-only"))}));
    ASSERT_TRUE(waitUntil([&] { return second.hasExited(); }, 20s)) << second.log().toStdString();
    EXPECT_TRUE(second.logContains(QStringLiteral("classroom status: -3")));
    EXPECT_EQ(second.count(QStringLiteral("automation: box")), 1);
    EXPECT_TRUE(second.logContains(QStringLiteral("automation: box \"Session Entry Point Already Used Once.\"")));
    EXPECT_FALSE(second.logContains(QStringLiteral("Connection Lost")));
}

TEST_F(ClientSession, LostConnectionAfterJoiningIsReportedOnceAndOffersReconnect) {
    ClientProcess client;
    ASSERT_TRUE(client.start({joinLink(server.port(), QStringLiteral("teacher"))}));
    ASSERT_TRUE(waitUntil([&] { return client.logContains(QStringLiteral("joinedVirtualRoom")); }, 20s));
    ASSERT_TRUE(waitUntil([&] { return server.commandsFrom(101).size() >= 18; }));
    server.control(QStringLiteral("drop-all"));
    ASSERT_TRUE(waitUntil([&] { return client.logContains(QStringLiteral("classroom status:")); }, 20s))
        << client.log().toStdString();
    EXPECT_TRUE(client.logContains(QStringLiteral("classroom status: -2")));
    EXPECT_EQ(client.count(QStringLiteral("automation: box \"Connection Lost\"")), 1);
    EXPECT_EQ(client.count(QStringLiteral("automation: box")), 1);
    EXPECT_FALSE(client.hasExited());
}

TEST_F(ClientSession, LostConnectionBeforeTheJoinAnswerShowsNoBox) {
    server.control(QStringLiteral("hold-join on"));
    ClientProcess client;
    ASSERT_TRUE(client.start({joinLink(server.port(), QStringLiteral("teacher"))}));
    ASSERT_TRUE(waitUntil([&] { return contains(server.commandsFrom(101), 75); }, 20s));
    server.control(QStringLiteral("drop-all"));
    ASSERT_TRUE(waitUntil([&] { return client.logContains(QStringLiteral("status line: Disconnected")); }, 20s));
    waitUntil([] { return false; }, 500ms);
    EXPECT_EQ(client.count(QStringLiteral("automation: box")), 0);
    EXPECT_FALSE(client.logContains(QStringLiteral("classroom status:")));
}

TEST_F(ClientSession, JoinsThroughSocks4AndSocks5Proxies) {
    if (!test::DanteServer::installed()) GTEST_SKIP() << "dante-server is not installed";
    for (const int proxyType : {1, 2}) {
        SCOPED_TRACE(proxyType);
        test::DanteServer dante;
        const std::string why = dante.start("none");
        ASSERT_TRUE(why.empty()) << why;
        ClientProcess client;
        client.setSettings({QStringLiteral("VCProxyType=%1").arg(proxyType), QStringLiteral("VCProxyAddress=127.0.0.1"),
                            QStringLiteral("VCProxyPort=%1").arg(dante.port())});
        ASSERT_TRUE(client.start({joinLink(server.port(), QStringLiteral("teacher"))}));
        ASSERT_TRUE(waitUntil([&] { return client.logContains(QStringLiteral("joinedVirtualRoom")); }, 20s))
            << client.log().toStdString();
        client.stop();
        // Nothing reached the server but through the proxy: stopping it now cuts the next attempt.
        dante.stop();
        ClientProcess direct;
        direct.setSettings({QStringLiteral("VCProxyType=%1").arg(proxyType), QStringLiteral("VCProxyAddress=127.0.0.1"),
                            QStringLiteral("VCProxyPort=%1").arg(closedPort())});
        ASSERT_TRUE(direct.start({joinLink(server.port(), QStringLiteral("teacher"))}));
        ASSERT_TRUE(waitUntil([&] { return direct.logContains(QStringLiteral("classroom status:")); }, 30s))
            << direct.log().toStdString();
        EXPECT_TRUE(direct.logContains(QStringLiteral("classroom status: -7")));
    }
}

}  // namespace
}  // namespace veltrin::testing
