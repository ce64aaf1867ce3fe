// The session lifecycle against the reference server: the connect sequence with its port
// fallback, the join, and every way a session ends, as the user sees them (boxes, status line,
// what the application delegate is told).

#include <QTcpServer>

#include <gtest/gtest.h>

#include <memory>

#include "app/core/VeltrinTools.h"
#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "platform/KeyCodes.h"
#include "tests/classroom/FakeShell.h"
#include "tests/support/DanteServer.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestRooms.h"

using namespace std::chrono_literals;

namespace veltrin::testing {
namespace {


class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(startServer(kTestRooms)) << server.error().toStdString(); }

    void TearDown() override {
        controller.reset();
        waitForRetiredLinks(10000);
    }

    bool startServer(const QString& rooms, int ports = 1) {
        return server.start(ports, {QStringLiteral("--rooms"), writeTempFile(rooms)});
    }

    void link(int port1, const QString& user = QStringLiteral("teacher")) {
        shell.session.Host = QStringLiteral("127.0.0.1");
        shell.session.Port1 = port1;
        shell.session.Port2 = closedPort();
        shell.session.Port3 = closedPort();
        shell.session.UserName = user;
        shell.session.Password = user;
        shell.session.RoomID = 1001;
    }

    ClassroomViewController& open() {
        controller = std::make_unique<ClassroomViewController>(shell.context());
        controller->Connect();
        return *controller;
    }

    bool joined() {
        return waitUntil([&] { return controller && controller->isJoined(); });
    }

    ServerProcess server;
    FakeShell shell;
    std::unique_ptr<ClassroomViewController> controller;
};

TEST_F(Lifecycle, JoinSendsTheOpeningCommandsInOrderAndShowsTheConnectedPort) {
    link(server.port());
    auto& c = open();
    EXPECT_TRUE(c.classroomView()->isHudShown());
    EXPECT_EQ(c.classroomView()->hudText(), QStringLiteral("Connecting..."));
    ASSERT_TRUE(joined());
    EXPECT_FALSE(c.classroomView()->isHudShown());
    EXPECT_EQ(c.classroomView()->statusText(), QStringLiteral("Connected to: 127.0.0.1:%1").arg(server.port()));
    EXPECT_EQ(c.clientRecord().UID, 101);
    EXPECT_EQ(c.roomHeader().ID, 1001);
    EXPECT_EQ(c.masterRoomId(), 1001);
    EXPECT_EQ(shell.settings.defMikesCount(), 2);
    EXPECT_TRUE(c.sessionTimerActive());
    EXPECT_TRUE(c.toastsSuppressed());

    const std::vector<int> expected{154, 114, 113, 75, 2, 79, 81, 121, 119, 115, 128, 139, 140, 150, 162, 152, 148, 95};
    ASSERT_TRUE(waitUntil([&] { return server.commandsFrom(101).size() >= expected.size(); }));
    // What follows the opening depends on the answers (e.g. the request for the active board).
    std::vector<int> opening = server.commandsFrom(101);
    opening.resize(expected.size());
    EXPECT_EQ(opening, expected);
    // The participant list answer arrives and the own user is listed.
    EXPECT_TRUE(waitUntil([&] { return c.participants().findUser(101) != nullptr; }));
    EXPECT_TRUE(shell.ui.boxes.empty());
}

TEST_F(Lifecycle, EntryTokenGoesFirstAndASecondUseIsRefusedOnce) {
    link(server.port());
    shell.session.Token = QStringLiteral("once-only");
    open();
    ASSERT_TRUE(joined());
    ASSERT_TRUE(waitUntil([&] { return !server.commandsFrom(101).empty(); }));
    EXPECT_EQ(server.commandsFrom(101).front(), 164);
    controller.reset();

    // The same entry point again, as a second launch of the same link would.
    link(server.port(), QStringLiteral("student1"));
    shell.session.Token = QStringLiteral("once-only");
    open();
    ASSERT_TRUE(waitUntil([&] { return !shell.delegate.statuses.empty(); }));
    EXPECT_EQ(shell.delegate.statuses, std::vector<int>{ClassroomStatus::TokenRefused});
    // Tear-down follows the refusal; no "Connection Lost" box after it.
    waitUntil([] { return false; }, 300ms);
    EXPECT_EQ(shell.ui.titles(), QStringList{QStringLiteral("Session Entry Point Already Used Once.")});
    EXPECT_GE(shell.delegate.removals, 1);
}

TEST_F(Lifecycle, FallsBackToTheSecondPortWhenTheFirstRefuses) {
    link(closedPort());
    shell.session.Port2 = server.port();
    auto& c = open();
    ASSERT_TRUE(joined());
    EXPECT_EQ(shell.session.ConnectedPort, server.port());
    EXPECT_EQ(c.classroomView()->statusText(), QStringLiteral("Connected to: 127.0.0.1:%1").arg(server.port()));
}

TEST_F(Lifecycle, AllPortsFailingShowsOneBoxAndReportsMinusSeven) {
    link(closedPort());
    auto& c = open();
    ASSERT_TRUE(waitUntil([&] { return !shell.delegate.statuses.empty(); }, 20s));
    EXPECT_EQ(shell.delegate.statuses, std::vector<int>{ClassroomStatus::ConnectFailed});
    ASSERT_EQ(shell.ui.boxes.size(), 1u);
    EXPECT_EQ(shell.ui.boxes[0].title, QStringLiteral("Connection Failed"));
    EXPECT_EQ(shell.ui.boxes[0].text, VeltrinTools::TranslateErrorCode(13));
    EXPECT_FALSE(c.classroomView()->isHudShown());
    EXPECT_GE(shell.delegate.removals, 1);
}

TEST_F(Lifecycle, WrongPasswordStopsWithTheLogOnText) {
    link(server.port());
    shell.session.Password = QStringLiteral("wrong");
    open();
    ASSERT_TRUE(waitUntil([&] { return !shell.delegate.statuses.empty(); }));
    EXPECT_EQ(shell.delegate.statuses, std::vector<int>{ClassroomStatus::ConnectFailed});
    ASSERT_EQ(shell.ui.boxes.size(), 1u);
    EXPECT_EQ(shell.ui.boxes[0].text, VeltrinTools::TranslateErrorCode(2));
}

TEST_F(Lifecycle, OutdatedClientStopsWithoutTryingFurtherPorts) {
    ServerProcess outdated;
    ASSERT_TRUE(outdated.start(1, {QStringLiteral("--rooms"),
                                   writeTempFile(QString::fromLatin1(kTestRooms) +
                                                 QStringLiteral("version 8.0 Mar-01-2015 result=21 payload=no\n"))}));
    QTcpServer secondPort;
    ASSERT_TRUE(secondPort.listen(QHostAddress::LocalHost, 0));
    link(outdated.port());
    shell.session.Port2 = secondPort.serverPort();
    open();
    ASSERT_TRUE(waitUntil([&] { return !shell.delegate.statuses.empty(); }));
    EXPECT_EQ(shell.delegate.statuses, std::vector<int>{ClassroomStatus::Outdated});
    ASSERT_EQ(shell.ui.boxes.size(), 1u);
    EXPECT_EQ(shell.ui.boxes[0].text, VeltrinTools::TranslateErrorCode(21));
    EXPECT_FALSE(secondPort.hasPendingConnections());
}

TEST_F(Lifecycle, LostConnectionAfterJoiningIsReportedOnce) {
    link(server.port());
    open();
    ASSERT_TRUE(joined());
    server.control(QStringLiteral("drop-all"));
    ASSERT_TRUE(waitUntil([&] { return !shell.delegate.statuses.empty(); }));
    waitUntil([] { return false; }, 300ms);
    EXPECT_EQ(shell.delegate.statuses, std::vector<int>{ClassroomStatus::ConnectionLost});
    EXPECT_EQ(shell.ui.titles(), QStringList{QStringLiteral("Connection Lost")});
    EXPECT_EQ(controller->classroomView()->statusText(), QStringLiteral("Disconnected"));
    EXPECT_FALSE(controller->isConnected());
}

TEST_F(Lifecycle, LostConnectionBeforeTheJoinAnswerShowsNothing) {
    server.control(QStringLiteral("hold-join on"));
    link(server.port());
    auto& c = open();
    ASSERT_TRUE(waitUntil([&] {
        const auto cmds = server.commandsFrom(101);
        return std::find(cmds.begin(), cmds.end(), 75) != cmds.end();
    }));
    server.control(QStringLiteral("drop-all"));
    ASSERT_TRUE(waitUntil([&] { return c.classroomView()->statusText() == QStringLiteral("Disconnected"); }));
    waitUntil([] { return false; }, 300ms);
    EXPECT_TRUE(shell.ui.boxes.empty());
    EXPECT_TRUE(shell.delegate.statuses.empty());
}

TEST_F(Lifecycle, RefusedJoinKeepsTheEmptyClassroomOpen) {
    link(server.port());
    shell.session.RoomID = 4242;
    auto& c = open();
    ASSERT_TRUE(waitUntil([&] { return !shell.ui.boxes.empty(); }));
    EXPECT_EQ(shell.ui.boxes[0].title, QStringLiteral("Unable to join virtual room."));
    EXPECT_TRUE(shell.ui.boxes[0].text.startsWith(
        QStringLiteral("This virtual room is either not present or not active at the moment.\n\nThe code returend was ")));
    EXPECT_FALSE(c.isJoined());
    EXPECT_TRUE(c.isConnected());
    EXPECT_TRUE(shell.delegate.statuses.empty());
    EXPECT_FALSE(c.showsDisconnectionNotification());
}

TEST_F(Lifecycle, UserExitAsksFirstAndReportsMinusFour) {
    link(server.port());
    auto& c = open();
    ASSERT_TRUE(joined());
    shell.ui.answer = 1;  // Cancel
    c.acDisconnect();
    EXPECT_TRUE(c.isConnected());
    EXPECT_TRUE(shell.delegate.statuses.empty());
    shell.ui.answer = 0;  // Yes
    c.acDisconnect();
    EXPECT_EQ(shell.ui.boxes.back().title, QStringLiteral("Exit Now?"));
    EXPECT_EQ(shell.ui.boxes.back().text, QStringLiteral("Would you like to exit this Veltrin session?"));
    EXPECT_EQ(shell.delegate.statuses, std::vector<int>{ClassroomStatus::UserLeft});
    EXPECT_FALSE(c.isConnected());
    EXPECT_FALSE(c.sessionTimerActive());
    EXPECT_EQ(c.participants().users().size(), 0u);
    // The connection is really gone: the server notices the client leaving.
    waitUntil([] { return false; }, 300ms);
    EXPECT_EQ(shell.ui.boxes.size(), 2u);
}

TEST_F(Lifecycle, PushToTalkRequestsTheChannelOnceAndReleasesIt) {
    link(server.port());
    auto& c = open();
    ASSERT_TRUE(joined());
    c.Safe_SetVoiceAllowed(true);
    c.setMicCaptureRunning(true);
    const int key = shell.settings.defPushToTalkKey();
    EXPECT_FALSE(c.handlePushToTalkKey(key + 1, true, false));  // other keys pass through
    EXPECT_TRUE(c.handlePushToTalkKey(key, true, false));
    EXPECT_TRUE(c.handlePushToTalkKey(key, true, true));  // auto-repeat sends nothing more
    c.Safe_StartMic();  // the server's grant
    EXPECT_TRUE(c.handlePushToTalkKey(key, false, false));
    auto count = [&](int command) {
        const auto cmds = server.commandsFrom(101);
        return std::count(cmds.begin(), cmds.end(), command);
    };
    ASSERT_TRUE(waitUntil([&] { return count(7) == 1; }));
    EXPECT_EQ(count(6), 1);
}

TEST_F(Lifecycle, SessionTimerLetsToastsThroughAndCountsMinutes) {
    link(server.port());
    auto& c = open();
    ASSERT_TRUE(joined());
    c.Safe_DisplayToast("held back", 1.0);
    EXPECT_TRUE(c.classroomView()->toastText().isEmpty());
    c.onSessionTimer();
    EXPECT_FALSE(c.toastsSuppressed());
    c.Safe_DisplayToast("shown", 1.0);
    EXPECT_EQ(c.classroomView()->toastText(), QStringLiteral("shown"));
}

// The connection settings' proxy carries the whole session: SOCKS 4 without and SOCKS 5 with a
// user name and password, through a real dante server.
TEST_F(Lifecycle, JoinsThroughSocksProxies) {
    if (!test::DanteServer::installed()) GTEST_SKIP() << "dante-server is not installed";
    struct Case {
        int proxyType;
        bool withUser;
    };
    for (const Case& k : {Case{1, false}, Case{2, true}}) {
        SCOPED_TRACE(k.proxyType);
        test::SystemUser user;
        if (k.withUser && (::geteuid() != 0 || !user.create("pa55word"))) {
            ADD_FAILURE() << "cannot create the system user dante checks SOCKS 5 passwords against (needs root)";
            continue;
        }
        test::DanteServer dante;
        const std::string why = dante.start(k.withUser ? "username" : "none");
        ASSERT_TRUE(why.empty()) << why;
        shell.settings.setDefProxyType(k.proxyType);
        shell.settings.setDefProxyAddress(QStringLiteral("127.0.0.1"));
        shell.settings.setDefProxyPort(dante.port());
        shell.settings.setDefProxyUsername(k.withUser ? QString::fromStdString(user.name()) : QString());
        shell.settings.setDefProxyPassword(k.withUser ? QStringLiteral("pa55word") : QString());
        link(server.port());
        auto& c = open();
        ASSERT_TRUE(joined());
        EXPECT_EQ(c.classroomView()->statusText(), QStringLiteral("Connected to: 127.0.0.1:%1").arg(server.port()));
        controller.reset();
        waitForRetiredLinks(10000);
    }
}

}  // namespace
}  // namespace veltrin::testing
