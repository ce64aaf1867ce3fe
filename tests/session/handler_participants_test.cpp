// What the dispatcher does to the participant list and the log, seen through the controller's
// state rather than the call list: status packs, log-in with status, typing, enter and leave.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "FakeClassroom.h"
#include "handler_support.h"
#include "session/CommandHandler.h"

namespace veltrin::test {
namespace {

constexpr int kOwn = 5;

class ParticipantsTest : public ::testing::Test {
protected:
    void send(int id, int sender, const Bytes& payload, int result = 0) {
        TCommand cmd(id, static_cast<std::uint32_t>(sender), 0, static_cast<std::uint32_t>(payload.size()));
        cmd.Result = static_cast<std::uint16_t>(result);
        handler.HandleInput(cmd, payload);
    }
    int callsNamed(const std::string& prefix) const {
        return static_cast<int>(std::count_if(fake.calls.begin(), fake.calls.end(),
                                              [&](const std::string& c) { return c.starts_with(prefix); }));
    }

    LogCapture log;
    FakeClassroom fake;
    CommandHandler handler{fake, kOwn, 1001};
};

TEST_F(ParticipantsTest, StatusPacksUpdateEveryKnownUserUntilTheDataSizeIsUsed) {
    fake.addUser(kOwn, "Me");
    fake.addUser(12, "Ann");
    fake.addUser(13, "Bob");
    auto ann = statusPack(12, 4, 4, true, 1);
    ann.OnlineStatus = 1;  // not copied: online status has its own command
    const Bytes packs = Payload()
                            .record(ann)
                            .record(statusPack(13, 3, 2, false, 16))
                            .record(statusPack(kOwn, 2, 4, false, 0));
    ASSERT_EQ(packs.size(), 45u);

    send(115, 0, packs);

    EXPECT_EQ(callsNamed("Safe_ModifyUser"), 3);
    const TUserItem& a = fake.users[12];
    EXPECT_EQ(a.statusPack.Mike_Status, 4);
    EXPECT_EQ(a.statusPack.Video_Status, 4);
    EXPECT_EQ(a.statusPack.MotionStatus, 1);
    EXPECT_EQ(a.statusPack.OnlineStatus, 0);
    EXPECT_TRUE(a.VoiceAllowed);
    EXPECT_TRUE(a.BoardAllowed);
    EXPECT_FALSE(fake.users[13].VoiceAllowed);
    EXPECT_TRUE(fake.users[kOwn].VoiceAllowed);
    EXPECT_TRUE(log.hasLine("uid: 12, voice:1"));
    EXPECT_TRUE(log.hasLine("uid: 13, voice:0"));
    EXPECT_TRUE(log.hasLine("voiceallowed:1"));
    EXPECT_TRUE(log.hasLine("Safe_UpdateMyControls from DoGetClientStatusPack"));
    EXPECT_EQ(fake.calls.back(), "Safe_UpdateUserListView(true)");
}

TEST_F(ParticipantsTest, StatusPacksIgnoreATrailingPartialPack) {
    fake.addUser(12, "Ann");
    Bytes packs = Payload().record(statusPack(12, 4, 2, true, 0)).raw({1, 2, 3, 4, 5});
    send(115, 0, packs);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"Safe_ModifyUser(12)",
                                                    "Safe_UpdateMotionStatusDecFirst(12, 0, false)",
                                                    "Safe_UpdateUserListView(true)"}));
}

TEST_F(ParticipantsTest, StatusPacksWithDataSizeZeroDoNothing) {
    send(115, 0, {});
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(ParticipantsTest, UserListWithCountZeroAddsNoUsersButRefreshes) {
    send(2, 0, Payload().record(userItem(0, "")).record(userItem(20, "Stray")));
    EXPECT_EQ(fake.calls, std::vector<std::string>{"Safe_UpdateUserListView(true)"});
    EXPECT_EQ(fake.users.count(20), 0u);
}

TEST_F(ParticipantsTest, LoginWithStatusAttachesThePackAndItsPermissions) {
    auto item = userItem(30, "Zed");
    send(153, 0, Payload().record(item).record(statusPack(30, 3, 4, true, 8)));
    const TUserItem& zed = fake.users.at(30);
    EXPECT_EQ(zed.statusPack.Mike_Status, 3);
    EXPECT_EQ(zed.statusPack.Video_Status, 4);
    EXPECT_EQ(zed.statusPack.MotionStatus, 8);
    EXPECT_FALSE(zed.VoiceAllowed);
    EXPECT_TRUE(zed.BoardAllowed);
    EXPECT_EQ(callsNamed("Safe_UpdateMotionStatus"), 0);  // a log-in's motion is not counted
}

TEST_F(ParticipantsTest, TypingIsSetAndClearedOnTheKnownUser) {
    fake.addUser(12, "Ann");
    send(151, 12, Payload().i32(1));
    EXPECT_TRUE(fake.users[12].TypingStatus);
    send(151, 12, Payload().i32(0));
    EXPECT_FALSE(fake.users[12].TypingStatus);
    send(151, 12, Payload().i32(2));  // only 1 means typing
    EXPECT_FALSE(fake.users[12].TypingStatus);
}

TEST_F(ParticipantsTest, JoinThenLeaveNamesTheUserInBothNotices) {
    fake.enabledSettings = {NoticeSetting::ShowNotificationsInChat};
    send(12, 0, Payload().record(userItem(30, "Zoë Ünal")));
    send(13, 30, {});
    EXPECT_EQ(fake.users.count(30), 0u);
    EXPECT_EQ(callsNamed("Safe_AddNotificationMessage(\"Zoë Ünal joined the session.\")"), 1);
    EXPECT_EQ(callsNamed("Safe_AddNotificationMessage(\"Zoë Ünal left the session.\")"), 1);
    EXPECT_EQ(callsNamed("Safe_PlaySound"), 0);
}

TEST_F(ParticipantsTest, NoticesAndSoundsFollowTheirSettings) {
    struct Case {
        std::set<NoticeSetting> settings;
        int notices;
        int sounds;
    };
    const std::vector<Case> cases = {
        {{}, 0, 0},
        {{NoticeSetting::ShowNotificationsInChat}, 1, 0},
        {{NoticeSetting::BeepOnEnter}, 0, 1},
        {{NoticeSetting::BeepOnExit, NoticeSetting::BeepOnMessages}, 0, 0},
    };
    for (const Case& c : cases) {
        fake.calls.clear();
        fake.enabledSettings = c.settings;
        send(12, 0, Payload().record(userItem(31, "Al")));
        EXPECT_EQ(callsNamed("Safe_AddNotificationMessage"), c.notices);
        EXPECT_EQ(callsNamed("Safe_PlaySound"), c.sounds);
    }
}

TEST_F(ParticipantsTest, MessageFromAnUnknownSenderKeepsAnEmptyNameAndIsLogged) {
    send(130, 77, Payload().record(textMessage(77, 0, 0, "hello?")));
    ASSERT_EQ(fake.textMessages.size(), 1u);
    EXPECT_EQ(fake.textMessages[0].NameToUse, "");
    EXPECT_EQ(fake.textMessages[0].Text, "hello?");
    EXPECT_TRUE(log.hasLine("user missing"));
}

TEST(CommandHandlerLifetime, LogsItsRelease) {
    LogCapture log;
    FakeClassroom fake;
    { CommandHandler handler(fake, kOwn, 1001); }
    EXPECT_EQ(log.lines(), std::vector<std::string>{"CommandHandler - dealloc"});
}

}  // namespace
}  // namespace veltrin::test
