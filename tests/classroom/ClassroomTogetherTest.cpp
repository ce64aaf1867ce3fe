// A moderator and two attendees in one room on the reference server, each with the real
// controller and side panel: what one does, the others see.

#include <QToolButton>

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "classroom/chat/TextChat.h"
#include "session/TSocketConnector.h"
#include "tests/classroom/FakeShell.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestRooms.h"

using namespace std::chrono_literals;

namespace veltrin::testing {
namespace {

struct Participant {
    FakeShell shell;
    std::unique_ptr<ClassroomViewController> controller;
    ClassroomViewController& c() { return *controller; }
    int chatLines(const std::string& text) {
        int n = 0;
        for (const TTextMessage& m : c().sidePanel().chat().chatLog())
            if (m.Text.find(text) != std::string::npos) ++n;
        return n;
    }
};

class Together : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(1, {QStringLiteral("--rooms"),
                                     writeTempFile(QString::fromLatin1(kTestRooms) +
                                                   QStringLiteral("account student2 student2 0 \"Kim Student\" uid=103\n"))}))
            << server.error().toStdString();
        for (const char* user : {"teacher", "student1"}) join(user);
    }
    void TearDown() override {
        for (auto& p : people) p->controller.reset();
        waitForRetiredLinks(10000);
    }

    Participant& join(const char* user) {
        auto p = std::make_unique<Participant>();
        SessionParameters& s = p->shell.session;
        s.Host = QStringLiteral("127.0.0.1");
        s.Port1 = server.port();
        s.Port2 = s.Port3 = closedPort();
        s.UserName = s.Password = QString::fromLatin1(user);
        s.RoomID = 1001;
        p->controller = std::make_unique<ClassroomViewController>(p->shell.context());
        p->controller->Connect();
        people.push_back(std::move(p));
        Participant& joined = *people.back();
        EXPECT_TRUE(waitUntil([&] { return joined.controller->isJoined(); }));
        return joined;
    }
    bool everyoneSees(const std::function<bool(Participant&)>& condition) {
        return waitUntil([&] {
            for (auto& p : people)
                if (!condition(*p)) return false;
            return true;
        });
    }

    ServerProcess server;
    std::vector<std::unique_ptr<Participant>> people;
};

TEST_F(Together, ARaisedHandIsCountedEverywhere) {
    join("student2");
    ASSERT_TRUE(everyoneSees([](Participant& p) { return p.c().participants().users().size() == 3; }));
    people[1]->c().sidePanel().actions().acMotion(1);
    EXPECT_TRUE(everyoneSees([](Participant& p) {
        return p.c().classroomView()->countersText().startsWith(QStringLiteral("Hands: 1 "));
    })) << people[0]->c().classroomView()->countersText().toStdString();
}

TEST_F(Together, TheModeratorAllowsTheMicrophone) {
    Participant& student = *people[1];
    ASSERT_TRUE(everyoneSees([](Participant& p) { return p.c().participants().users().size() == 2; }));
    EXPECT_FALSE(student.c().participants().voiceAllowed());
    EXPECT_FALSE(student.c().classroomView()->button(ClassroomControl::Microphone)->isEnabled());
    people[0]->c().connector()->send_SetMicPermissionToUser(102, true);
    EXPECT_TRUE(waitUntil([&] { return student.c().participants().voiceAllowed(); }));
    EXPECT_TRUE(waitUntil([&] { return student.c().classroomView()->button(ClassroomControl::Microphone)->isEnabled(); }));
    EXPECT_TRUE(waitUntil([&] {
        const TUserItem* item = people[0]->c().participants().findUser(102);
        return item != nullptr && item->VoiceAllowed;
    }));
}

TEST_F(Together, APrivateMessageReachesOnlyItsReceiverAndSender) {
    Participant& student2 = join("student2");
    people[1]->c().connector()->send_TextMessage("just for the teacher", 101, TextKind::Private);
    people[1]->c().sidePanel().chat().acSendTextMessage(QStringLiteral("hello everyone"));
    ASSERT_TRUE(everyoneSees([](Participant& p) { return p.chatLines("hello everyone") == 1; }));
    EXPECT_EQ(people[0]->chatLines("just for the teacher"), 1);
    EXPECT_EQ(people[1]->chatLines("just for the teacher"), 1);
    EXPECT_EQ(student2.chatLines("just for the teacher"), 0);
}

TEST_F(Together, AKickRemovesTheAttendeeWithTheReason) {
    Participant& student = *people[1];
    ASSERT_TRUE(everyoneSees([](Participant& p) { return p.c().participants().users().size() == 2; }));
    people[0]->c().connector()->send_KickUser(102, "please leave");
    ASSERT_TRUE(waitUntil([&] { return !student.shell.delegate.statuses.empty(); }));
    EXPECT_EQ(student.shell.delegate.statuses, std::vector<int>{ClassroomStatus::Failed});
    ASSERT_FALSE(student.shell.ui.boxes.empty());
    EXPECT_EQ(student.shell.ui.boxes[0].title, QStringLiteral("Removed From Session by Host"));
    EXPECT_EQ(student.shell.ui.boxes[0].text, QStringLiteral("please leave"));
    EXPECT_TRUE(waitUntil([&] { return people[0]->c().participants().findUser(102) == nullptr; }));
}

TEST_F(Together, TheChatLogIsReplayedToALateJoiner) {
    people[0]->c().sidePanel().chat().acSendTextMessage(QStringLiteral("before you came"));
    ASSERT_TRUE(waitUntil([&] { return people[1]->chatLines("before you came") == 1; }));
    Participant& late = join("student2");
    EXPECT_TRUE(waitUntil([&] { return late.chatLines("before you came") == 1; }));
}

}  // namespace
}  // namespace veltrin::testing
