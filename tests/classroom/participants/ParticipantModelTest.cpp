#include <gtest/gtest.h>

#include "classroom/participants/ParticipantActions.h"
#include "classroom/participants/ParticipantModel.h"
#include "tests/classroom/participants/FakeParticipantHost.h"

namespace veltrin {
namespace {

using test::FakeParticipantHost;
using test::user;

constexpr int kMe = 7;

class ParticipantModelTest : public ::testing::Test {
protected:
    ParticipantModelTest() {
        model.setLocalUser(kMe, 0);
        model.addUserItem(user(kMe, "Me"));
        model.addUserItem(user(20, "bob"));
        model.addUserItem(user(30, "Alice", 1000));
    }
    std::vector<int> order() const {
        std::vector<int> uids;
        for (const TUserItem& u : model.users()) uids.push_back(u.UID);
        return uids;
    }
    const TUserItem& u(int uid) const { return *model.findUser(uid); }

    FakeParticipantHost host;
    ParticipantModel model{host};
    ParticipantActions actions{model, host, host};
};

TEST_F(ParticipantModelTest, AddReplacesAnnouncedAgainAndRemoveDropsOnlyThatUser) {
    model.addUserItem(user(20, "Bob again"));
    model.removeUserItem(30);
    model.removeUserItem(999);
    EXPECT_EQ(order(), (std::vector<int>{kMe, 20}));
    EXPECT_EQ(u(20).FullName, "Bob again");
    EXPECT_EQ(model.caption(), "Attendees [2]");
}

TEST_F(ParticipantModelTest, MotionCountersFollowTakeBackAndServerHands) {
    model.updateMotionStatus(20, Motion::Hand);
    EXPECT_EQ(model.handsCount(), 1);
    EXPECT_EQ(u(20).statusPack.MotionIndex, 1);
    // Raising again counts only after the first hand was taken back.
    model.updateMotionStatus(20, Motion::Hand);
    EXPECT_EQ(model.handsCount(), 1);
    model.updateMotionStatus(20, Motion::Yes);
    model.updateMotionStatus(30, Motion::No);
    model.updateMotionStatus(kMe, Motion::Smile);
    EXPECT_EQ((std::tuple{model.handsCount(), model.positiveCount(), model.negativeCount()}), (std::tuple{0, 1, 1}));
    EXPECT_EQ((std::vector{model.handsText(), model.positiveText(), model.negativeText()}),
              (std::vector<std::string>{"Hands: 0", "Yes: 1", "No: 1"}));

    // A status pack's server hand: index from the value, stored as a plain hand, counted.
    EXPECT_TRUE(model.updateMotionStatusDecFirst(kMe, 1003, false));
    EXPECT_EQ(u(kMe).statusPack.MotionStatus, Motion::Hand);
    EXPECT_EQ(u(kMe).statusPack.MotionIndex, 3);
    EXPECT_EQ(model.handsCount(), 1);
    EXPECT_TRUE(model.handsHighlighted());

    model.clearMotions();
    EXPECT_EQ((std::tuple{model.handsCount(), model.positiveCount(), model.negativeCount()}), (std::tuple{0, 0, 0}));
    for (const TUserItem& p : model.users()) {
        EXPECT_EQ(p.statusPack.MotionStatus, 0);
        EXPECT_EQ(p.HandNumber, 0);
    }
}

TEST_F(ParticipantModelTest, TakingBackAnUnannouncedMotionNeverShowsNegativeCounts) {
    model.modifyUser(20, [](TUserItem& p) { p.statusPack.MotionStatus = Motion::Yes; });
    model.updateMotionStatus(20, Motion::None);
    EXPECT_EQ(model.positiveCount(), 0);
}

TEST_F(ParticipantModelTest, HandNumbersFollowTheOrderHandsWereRaised) {
    model.updateMotionStatus(30, Motion::Hand);
    model.updateMotionStatus(kMe, Motion::Hand);
    model.updateMotionStatus(20, Motion::Hand);
    model.updateMotionStatus(kMe, Motion::None);  // leaves the queue
    model.updateUserListView(false);
    EXPECT_EQ(u(30).HandNumber, 1);
    EXPECT_EQ(u(20).HandNumber, 2);
}

TEST_F(ParticipantModelTest, SortOrdersTable) {
    model.addUserItem(user(40, "carol", 1001, 4));
    model.modifyUser(20, [](TUserItem& p) { p.statusPack.Mike_Status = 3; });
    struct Case {
        SortOrder order;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {SortOrder::Alphabetical, {30, 20, 40, kMe}},
        {SortOrder::ModeratorsOnTop, {40, 30, 20, kMe}},  // administrator above moderator above attendees
        {SortOrder::SpeakersOnTop, {40, 20, 30, kMe}},    // speaking 4, forbidden 3, allowed 2
    };
    for (const Case& c : cases) {
        model.setSortOrder(c.order);
        EXPECT_EQ(order(), c.expected) << static_cast<int>(c.order);
    }
    // Without resort the order stays as it is.
    model.setSortOrder(SortOrder::Alphabetical);
    model.updateMotionStatus(kMe, Motion::Hand);
    model.setSortOrder(SortOrder::Unsorted);
    EXPECT_EQ(order(), (std::vector<int>{30, 20, 40, kMe}));
}

TEST_F(ParticipantModelTest, RaisedHandsOnTopInOrderRaisedThenAlphabetical) {
    model.addUserItem(user(40, "Dave"));
    model.updateMotionStatus(40, Motion::Hand);
    model.updateMotionStatus(kMe, Motion::Hand);
    model.setSortOrder(SortOrder::RaisedHandsOnTop);
    EXPECT_EQ(order(), (std::vector<int>{40, kMe, 30, 20}));
    EXPECT_EQ(compareParticipants(SortOrder::RaisedHandsOnTop, u(30), u(20)), -1);
    EXPECT_EQ(compareParticipants(SortOrder::ModeratorsOnTop, u(20), u(kMe)), 1);  // equal types answer after
}

TEST_F(ParticipantModelTest, MikeStatusResetFollowsTheParticipantsPermission) {
    model.setMikeStatus(20, 4);
    EXPECT_EQ(u(20).statusPack.Mike_Status, 4);
    model.setMikeStatus(20, MikeStatus::Reset);
    EXPECT_EQ(u(20).statusPack.Mike_Status, MikeStatus::Allowed);
    model.modifyUser(20, [](TUserItem& p) { p.VoiceAllowed = false; });
    model.setMikeStatus(20, MikeStatus::Reset);
    EXPECT_EQ(u(20).statusPack.Mike_Status, MikeStatus::Forbidden);
}

TEST_F(ParticipantModelTest, ForbiddingTheOwnActiveMicrophoneReleasesTheSpeakingChannel) {
    host.micActive = true;
    model.updateAudioStatusOfUser(kMe, MikeStatus::Forbidden);
    EXPECT_EQ(host.commands.data(), FakeParticipantHost::expected([](CommandBuffer& b) { b.send_SimpleCommand(7); }));
    EXPECT_EQ(host.controlUpdates, 1);
    EXPECT_FALSE(u(kMe).VoiceAllowed);
    EXPECT_EQ(u(kMe).statusPack.Mike_Status, 3);

    // Another participant: no release, no control update.
    model.updateAudioStatusOfUser(20, MikeStatus::Allowed);
    EXPECT_EQ(host.controlUpdates, 1);
    EXPECT_TRUE(u(20).VoiceAllowed);
}

TEST_F(ParticipantModelTest, EventsOnUnknownUsersChangeNothing) {
    const auto before = model.users();
    model.updateAudioStatusOfUser(99, 2);
    model.updateBoardStatusOfUser(99, true);
    model.updateMotionStatus(99, Motion::Hand);
    model.setGreenTickToUser(99);
    model.setOnlineStatusToUser(99, 1);
    model.updateVideoStatus(99, true);
    model.setMikeStatus(99, 4);
    EXPECT_EQ(model.users(), before);
    EXPECT_EQ(model.handsCount(), 0);
    EXPECT_TRUE(host.toasts.empty());
    EXPECT_TRUE(host.commands.data().empty());
}

TEST_F(ParticipantModelTest, SimpleStatusEventsSetTheirFieldAndRefresh) {
    model.setGreenTickToUser(20);
    model.setOnlineStatusToUser(20, 1);
    model.setTypingStatusOfUser(20, true);
    model.updateBoardStatusOfUser(20, true);
    model.setAppShareStatusToUser(20, 2);
    EXPECT_TRUE(u(20).TickVisible);
    EXPECT_EQ(u(20).OnlineStatus, 1);
    EXPECT_TRUE(u(20).TypingStatus);
    EXPECT_TRUE(u(20).BoardAllowed);
    EXPECT_EQ(u(20).statusPack.AppShareStatus, 2);
    EXPECT_EQ(host.refreshes, 4);  // the share status is refreshed by its caller
    model.clearGreenTics();
    EXPECT_FALSE(u(20).TickVisible);
}

TEST_F(ParticipantModelTest, VideoToastsOnlyForOthers) {
    model.updateVideoStatus(20, true);
    model.updateVideoStatus(20, false);
    model.updateVideoStatus(kMe, true);
    EXPECT_EQ(u(20).statusPack.Video_Status, 2);
    EXPECT_EQ(u(kMe).statusPack.Video_Status, 4);
    using T = std::pair<std::string, double>;
    EXPECT_EQ(host.toasts,
              (std::vector<T>{{"bob started live video. Click the webcam icon next to their name to watch it.", 2.5},
                              {"bob stopped their video.", 2.5}}));
}

TEST_F(ParticipantModelTest, ModeratorToggleKeepsSpeakingAndUpdatesOwnRole) {
    model.setMikeStatus(20, 4);
    model.toggleModeratorStatusOfUser(20, 1000);
    EXPECT_EQ(u(20).statusPack.Mike_Status, 4);
    EXPECT_TRUE(u(20).statusPack.Board_BoardAllowed);
    model.toggleModeratorStatusOfUser(20, 0);  // demoting a speaker keeps the channel
    EXPECT_EQ(u(20).statusPack.Mike_Status, 4);
    EXPECT_FALSE(u(20).VoiceAllowed);
    model.toggleModeratorStatusOfUser(30, 0);
    EXPECT_EQ(u(30).statusPack.Mike_Status, 3);
    EXPECT_TRUE(host.typeChanges.empty());

    model.toggleModeratorStatusOfUser(kMe, 1000);
    EXPECT_EQ(host.typeChanges, std::vector<int>{1000});
    EXPECT_EQ(model.localUserType(), 1000);
    EXPECT_TRUE(model.voiceAllowed());
    EXPECT_TRUE(model.boardAllowed());
    EXPECT_EQ(host.controlUpdates, 1);
}

// ---- local actions

TEST_F(ParticipantModelTest, MotionMenuSendsOrTakesBack) {
    actions.acMotion(Motion::Yes);
    model.updateMotionStatus(kMe, 1002);  // the echo of a hand from the server
    actions.acMotion(Motion::Hand);
    actions.acAway();
    EXPECT_EQ(host.commands.data(), FakeParticipantHost::expected([](CommandBuffer& b) {
                  b.send_Motion(8);
                  b.send_Motion(0);
                  b.send_OnlineStatus(1);
              }));
}

TEST_F(ParticipantModelTest, ModeratorActionsForAllReachOnlyOtherAttendees) {
    actions.SetMicrophoneAccessToAll(true);  // as attendee: nothing
    actions.PingUsers(1);
    EXPECT_TRUE(host.commands.data().empty());
    model.setLocalUser(kMe, 1000);
    model.addUserItem(user(40, "Dave"));
    actions.SetMicrophoneAccessToAll(false);
    actions.SetBoardAccessToAll(true);
    actions.PingUsers(0);
    model.setGreenTickToUser(20);
    actions.acClearMotions();
    EXPECT_FALSE(u(20).TickVisible);
    EXPECT_EQ(host.commands.data(), FakeParticipantHost::expected([](CommandBuffer& b) {
                  b.send_SetMicPermissionToUser(20, false);
                  b.send_SetMicPermissionToUser(40, false);
                  b.send_SetBoardPermissionToUser(20, true);
                  b.send_SetBoardPermissionToUser(40, true);
                  TPingPacket ping;
                  ping.FromID = kMe;
                  ping.PingType = 0;
                  ping.MustReply = true;
                  b.send_PingPacket(ping);
                  b.send_SimpleCommand(36);
              }));
}

TEST_F(ParticipantModelTest, NothingIsSentWithoutAConnectionOrInPlayback) {
    model.setLocalUser(kMe, 1000);
    host.connected = false;
    actions.acMotion(Motion::Hand);
    actions.SetBoardAccessToAll(true);
    host.connected = true;
    model.setPlayback(true);
    actions.acAway();
    EXPECT_FALSE(actions.clickOnRow(20, RowHit::Other, false));
    EXPECT_TRUE(actions.menuItemsFor(20, {}).empty());
    EXPECT_TRUE(host.commands.data().empty());
}

TEST_F(ParticipantModelTest, RowClickRules) {
    model.setLocalUser(kMe, 1000);
    model.addUserItem(user(40, "Dave", 0, 0));
    model.modifyUser(30, [](TUserItem& p) { p.statusPack.Mike_Status = 3; });
    model.modifyUser(20, [](TUserItem& p) {
        p.statusPack.Video_Status = 4;
        p.statusPack.MotionStatus = Motion::Smile;
    });
    EXPECT_FALSE(actions.clickOnRow(20, RowHit::Microphone, false));  // status 2: forbid
    EXPECT_FALSE(actions.clickOnRow(30, RowHit::Microphone, false));  // status 3: allow
    EXPECT_FALSE(actions.clickOnRow(40, RowHit::Microphone, false));  // status 0: nothing
    EXPECT_FALSE(actions.clickOnRow(20, RowHit::Portrait, false));    // clears the motion
    EXPECT_FALSE(actions.clickOnRow(20, RowHit::Webcam, false));      // watches
    EXPECT_TRUE(actions.clickOnRow(20, RowHit::Webcam, true));        // right click: the menu
    EXPECT_TRUE(actions.clickOnRow(30, RowHit::Portrait, false));     // no motion: the menu
    EXPECT_TRUE(actions.clickOnRow(kMe, RowHit::Microphone, false));  // own microphone: the menu
    EXPECT_EQ(host.shown, std::vector<std::string>{"video:20"});
    EXPECT_EQ(host.commands.data(), FakeParticipantHost::expected([](CommandBuffer& b) {
                  b.send_SetMicPermissionToUser(20, false);
                  b.send_SetMicPermissionToUser(30, true);
                  b.send_ForceUserMotion(20, 0);
              }));
}

TEST_F(ParticipantModelTest, KickAsksForAReasonAndCutsItToTheField) {
    model.setLocalUser(kMe, 1000);
    actions.KickUser(20);  // cancelled
    const std::string longReason = std::string(47, 'x') + "\xC3\xA9\xC3\xA9";  // 51 bytes, accents at the cut
    host.kickAnswer = longReason;
    actions.KickUser(20);
    EXPECT_EQ(host.kickPrompts, (std::vector<std::string>(2, "Specify a remove reason to send to user.")));
    EXPECT_EQ(truncateKickReason(longReason), std::string(47, 'x') + "\xC3\xA9");
    EXPECT_EQ(truncateKickReason("short"), "short");
    EXPECT_EQ(host.commands.data(), FakeParticipantHost::expected([&](CommandBuffer& b) {
                  b.send_KickUser(20, std::string(47, 'x') + "\xC3\xA9");
              }));
}

}  // namespace
}  // namespace veltrin
