// A moderator on the reference server with an attendee running the real client: the moderator
// hears the notices the settings ask for, from the generated sound files, and nothing the settings
// switch off.

#include <gtest/gtest.h>

#include <QFileInfo>

#include <memory>

#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "classroom/chat/TextChat.h"
#include "platform/sound/SoundPlayer.h"
#include "tests/classroom/FakeShell.h"
#include "tests/classroom/JoinDemoRoom.h"
#include "tests/support/ClientProcess.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestRooms.h"

namespace veltrin::testing {
namespace {

struct RecordingSounds final : SoundPlayer {
    explicit RecordingSounds(QStringList& heard) : heard_(heard) {}
    void play(const QString& path) override { heard_ << QFileInfo(path).fileName(); }
    QStringList& heard_;
};

class NoticeSounds : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(1, {QStringLiteral("--rooms"), writeTempFile(QString::fromLatin1(kTestRooms))}))
            << server.error().toStdString();
    }
    void TearDown() override {
        student.stop();
        teacher.reset();
        waitForRetiredLinks(10000);
    }

    std::unique_ptr<ClassroomViewController> join(FakeShell& shell, const char* user) {
        return joinDemoRoom(shell, server.port(), user);
    }

    // The teacher hears with the given settings while the student joins and writes, the teacher
    // raises a hand (the room echoes it back) and the student leaves; answers what the teacher
    // heard. The sound of a leave is the last thing to arrive, so every run keeps it on and waits
    // for it.
    QStringList heardWith(bool enter, bool messages, bool motions) {
        teacherShell.settings.setDefBeepOnEnter(enter);
        teacherShell.settings.setDefBeepOnExit(true);
        teacherShell.settings.setDefBeepOnMessages(messages);
        teacherShell.settings.setDefBeepOnMotions(motions);
        QStringList heard;
        teacher = join(teacherShell, "teacher");
        teacher->sidePanel().setSoundPlayer(std::make_unique<RecordingSounds>(heard));
        student.setEnvironment(QStringLiteral("VELTRIN_AUTOMATION_SAY"), QStringLiteral("can you hear this"));
        EXPECT_TRUE(student.start({QStringLiteral("vcc8join://127.0.0.1:%1/student1/student1/1001").arg(server.port())}));
        EXPECT_TRUE(waitUntil([&] {
            for (const TTextMessage& m : teacher->sidePanel().chat().chatLog())
                if (m.Text.find("can you hear this") != std::string::npos) return true;
            return false;
        }, std::chrono::seconds(20))) << student.log().toStdString();
        teacher->sidePanel().actions().acMotion(1);
        EXPECT_TRUE(waitUntil([&] { return teacher->participants().handsCount() == 1; }));
        student.stop();
        EXPECT_TRUE(waitUntil([&] { return heard.contains(QStringLiteral("sndExit.aiff")); }));
        return heard;
    }

    ServerProcess server;
    FakeShell teacherShell;
    std::unique_ptr<ClassroomViewController> teacher;
    ClientProcess student;
};

TEST_F(NoticeSounds, EveryNoticeSoundsWithItsSettingOn) {
    const QStringList heard = heardWith(true, true, true);
    // Join, message and hand in the order they happened; the leave last.
    EXPECT_EQ(heard.join(QLatin1Char(' ')).toStdString(),
              "sndEnter.aiff sndTextMessage.aiff sndMotion.aiff sndExit.aiff");
}

TEST_F(NoticeSounds, ASettingOffSilencesItsSound) {
    EXPECT_EQ(heardWith(false, false, false).join(QLatin1Char(' ')).toStdString(), "sndExit.aiff");
}

TEST_F(NoticeSounds, AMissingSoundIsSkipped) {
    QStringList heard;
    teacher = join(teacherShell, "teacher");
    teacher->sidePanel().setSoundPlayer(std::make_unique<RecordingSounds>(heard));
    teacher->Safe_PlaySound("sndNoSuchSound.aiff");
    teacher->Safe_PlaySound("../sounds/sndEnter.aiff");
    teacher->Safe_PlaySound("sndPing.aiff");
    EXPECT_EQ(heard.join(QLatin1Char(' ')).toStdString(), "sndPing.aiff");
}

}  // namespace
}  // namespace veltrin::testing
