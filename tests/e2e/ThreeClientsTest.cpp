// Three real clients in one room of the reference server — a moderator and two attendees — read
// through their unattended logs and the server's trace: each sees the other two, a chat message
// reaches everyone, and a participant who leaves disappears from the others' lists.

#include <gtest/gtest.h>

#include <array>

#include "tests/support/ClientProcess.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestRooms.h"

using namespace std::chrono_literals;

namespace veltrin::testing {
namespace {

QString joinLink(int port, const QString& user) {
    return QStringLiteral("vcc8join://127.0.0.1:%1/%2/%2/1001").arg(port).arg(user);
}

const QString kEveryone = QStringLiteral("automation: participants Kim Student, Sam Student, Terry Teacher");

class ThreeClients : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(1, {QStringLiteral("--rooms"),
                                     writeTempFile(QString::fromLatin1(kTestRooms) +
                                                   QStringLiteral("account student2 student2 0 \"Kim Student\" uid=103\n"))}))
            << server.error().toStdString();
    }

    bool everyone(const std::function<bool(ClientProcess&)>& condition) {
        for (ClientProcess& c : clients)
            if (!condition(c)) return false;
        return true;
    }
    std::string logs() {
        std::string all;
        for (ClientProcess& c : clients) all += c.log().toStdString() + "\n-----\n";
        return all;
    }

    ServerProcess server;
    std::array<ClientProcess, 3> clients;  // teacher, student1, student2
};

TEST_F(ThreeClients, AllJoinSeeEachOtherAndChat) {
    ASSERT_TRUE(clients[0].start({joinLink(server.port(), QStringLiteral("teacher"))}));
    // The teacher is in first, so the others arrive as joins rather than in its initial list.
    ASSERT_TRUE(waitUntil([&] {
        return clients[0].logContains(QStringLiteral("automation: participants Terry Teacher"));
    }, 20s)) << clients[0].log().toStdString();
    ASSERT_TRUE(clients[1].start({joinLink(server.port(), QStringLiteral("student1"))}));
    // The last one speaks as soon as it is in the room.
    clients[2].setEnvironment(QStringLiteral("VELTRIN_AUTOMATION_SAY"), QStringLiteral("hello from the third seat"));
    ASSERT_TRUE(clients[2].start({joinLink(server.port(), QStringLiteral("student2"))}));

    ASSERT_TRUE(waitUntil([&] { return everyone([](ClientProcess& c) { return c.logContains(kEveryone); }); }, 30s))
        << logs();
    // The server saw all three join (154) from their own users.
    for (const int uid : {101, 102, 103}) {
        const std::vector<int> commands = server.commandsFrom(uid);
        ASSERT_FALSE(commands.empty()) << uid;
        EXPECT_EQ(commands.front(), 154) << uid;
    }

    // The message reaches all three, the sender included (from the server's echo). A message sent
    // while a client's own chat-log replay is still on its way may come once more with the replay,
    // so only its arrival is counted.
    EXPECT_TRUE(waitUntil([&] {
        return everyone([](ClientProcess& c) {
            return c.logContains(QStringLiteral("automation: chat Kim Student: hello from the third seat"));
        });
    }, 20s)) << logs();

    // The teacher sees the others' joins as notices; nobody got a box.
    EXPECT_TRUE(clients[0].logContains(QStringLiteral("automation: chat : Sam Student joined the session.")))
        << clients[0].log().toStdString();
    EXPECT_TRUE(clients[0].logContains(QStringLiteral("automation: chat : Kim Student joined the session.")));
    for (ClientProcess& c : clients) EXPECT_FALSE(c.logContains(QStringLiteral("automation: box"))) << logs();

    // One leaves; the other two see it in their lists and their chats.
    clients[1].stop();
    for (const int i : {0, 2}) {
        EXPECT_TRUE(waitUntil([&] {
            return clients[i].logContains(QStringLiteral("automation: participants Kim Student, Terry Teacher")) &&
                   clients[i].logContains(QStringLiteral("automation: chat : Sam Student left the session."));
        }, 20s)) << clients[i].log().toStdString();
    }
}

}  // namespace
}  // namespace veltrin::testing
