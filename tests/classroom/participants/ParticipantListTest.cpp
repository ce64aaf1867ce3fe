#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QMenu>

#include <memory>

#include "classroom/participants/ParticipantListModel.h"
#include "classroom/participants/ParticipantIcons.h"
#include "classroom/participants/ParticipantListPanel.h"
#include "classroom/participants/ParticipantListView.h"
#include "classroom/participants/ParticipantRow.h"
#include "tests/classroom/participants/FakeParticipantHost.h"

namespace veltrin {
namespace {

using test::FakeParticipantHost;
using test::user;

constexpr int kMe = 7;

class ParticipantListTest : public ::testing::Test {
protected:
    ParticipantListTest() {
        model.setLocalUser(kMe, 0);
        model.addUserItem(user(kMe, "Me"));
        model.addUserItem(user(20, "Bob", 0, 3));
        model.addUserItem(user(30, "Alice", 1000, 4));
        rows.reload();
        view.setMenuContextProvider([this] { return context; });
        view.resize(300, 200);
    }
    QStringList menuTexts(int uid) {
        std::unique_ptr<QMenu> menu(view.buildMenu(uid, nullptr));
        QStringList texts;
        if (!menu) return texts;
        for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }

    FakeParticipantHost host;
    ParticipantModel model{host};
    ParticipantActions actions{model, host, host};
    ParticipantListModel rows{model};
    ParticipantMenuContext context;
    ParticipantListView view{rows, actions};
};

TEST_F(ParticipantListTest, MenuItemsPerRole) {
    // Attendee looking at another attendee, with notes and private chat restricted: only video.
    context.notesAllowed = context.privateChatAllowed = false;
    EXPECT_EQ(menuTexts(20), QStringList{"Watch Live Video From User"});
    // Nothing at all for the own row.
    EXPECT_TRUE(menuTexts(kMe).isEmpty());

    model.setLocalUser(kMe, 1000);
    EXPECT_EQ(menuTexts(20), (QStringList{"Send a Private Note", "Send a Private Text Message",
                                          "Watch Live Video From User", "-", "Promote to Moderator", "-",
                                          "Remote Start Screen Sharing", "-", "Enable Microphone", "-",
                                          "Allow Whiteboard Control", "-", "Remove from Session"}));
    // Alice shares and holds the microphone; the local user is not sharing.
    context.sharerUid = 30;
    model.modifyUser(30, [](TUserItem& p) { p.BoardAllowed = true; });
    EXPECT_EQ(menuTexts(30), (QStringList{"Send a Private Note", "Send a Private Text Message",
                                          "Watch Live Video From User", "-", "Demote to Attendee", "-",
                                          "Remote Stop Screen Sharing", "-", "Disable Microphone", "-",
                                          "Deprive Whiteboard Control", "-", "Remove from Session"}));
    // The local user shares: remote control by whether Bob holds it; no start/stop item for Bob.
    context.sharerUid = kMe;
    context.localSharing = true;
    EXPECT_TRUE(menuTexts(20).contains("Give Remote Control"));
    model.modifyUser(20, [](TUserItem& p) { p.statusPack.AppShareStatus = 2; });
    const QStringList bob = menuTexts(20);
    EXPECT_TRUE(bob.contains("Deprive Remote Control"));
    EXPECT_FALSE(bob.contains("Remote Start Screen Sharing"));
    EXPECT_FALSE(bob.contains("Remote Stop Screen Sharing"));
}

TEST_F(ParticipantListTest, TriggeringMenuItemsSendsOrShows) {
    model.setLocalUser(kMe, 1000);
    std::unique_ptr<QMenu> menu(view.buildMenu(20, nullptr));
    ASSERT_TRUE(menu);
    for (QAction* a : menu->actions()) {
        if (a->text() == "Promote to Moderator" || a->text() == "Enable Microphone" ||
            a->text() == "Send a Private Note")
            a->trigger();
    }
    EXPECT_EQ(host.shown, std::vector<std::string>{"note:20"});
    EXPECT_EQ(host.commands.data(), FakeParticipantHost::expected([](CommandBuffer& b) {
                  b.send_SetModeratorStatusOfUser(20, 1000);
                  b.send_SetMicPermissionToUser(20, true);
              }));

    // Restricted between opening and choosing: the attendee gets the box instead.
    model.setLocalUser(kMe, 0);
    context.privateChatAllowed = false;
    actions.trigger(ParticipantMenuAction::SendPrivateText, 20, context);
    actions.trigger(ParticipantMenuAction::Promote, 20, context);  // stale moderator item: nothing
    EXPECT_EQ(host.shown.back(), "box:Private Texts Unavailable|Private texts have been disabled by moderator.|OK");
    EXPECT_EQ(host.commands.data().size(),
              FakeParticipantHost::expected([](CommandBuffer& b) {
                  b.send_SetModeratorStatusOfUser(20, 1000);
                  b.send_SetMicPermissionToUser(20, true);
              }).size());
}

TEST_F(ParticipantListTest, RowsShowNamesStatusIconsAndReadAloud) {
    model.modifyUser(kMe, [](TUserItem& p) {
        p.OnlineStatus = 1;
        p.TypingStatus = true;
    });
    model.modifyUser(30, [](TUserItem& p) {
        p.statusPack.Video_Status = 4;
        p.TickVisible = true;
    });
    model.updateMotionStatus(30, 1);
    rows.reload();
    const QModelIndex me = rows.index(rows.rowOfUid(kMe));
    const QModelIndex alice = rows.index(rows.rowOfUid(30));
    EXPECT_EQ(me.data(Qt::DisplayRole).toString(), "Me");
    EXPECT_EQ(me.data(ParticipantListModel::SecondLineRole).toString(), "(You)  - Away");
    EXPECT_TRUE(me.data(ParticipantListModel::GrayRole).toBool());
    EXPECT_EQ(me.data(ParticipantListModel::PortraitNameRole).toString(), "user_framed_gray.png");
    EXPECT_EQ(me.data(ParticipantListModel::IconNamesRole).toStringList(),
              (QStringList{"typing_16x16.png", "mike_granted_16x16.png"}));
    EXPECT_EQ(alice.data(ParticipantListModel::SecondLineRole).toString(), "Moderator ");
    EXPECT_EQ(alice.data(ParticipantListModel::PortraitNameRole).toString(), "motion_hand_32.png");
    EXPECT_EQ(alice.data(ParticipantListModel::HandNumberRole).toString(), "1");
    EXPECT_EQ(alice.data(ParticipantListModel::IconNamesRole).toStringList(),
              (QStringList{"mike_speak_16x16.png", "cam_broadcast_16x16.png", "ok_1.png"}));
    EXPECT_EQ(alice.data(Qt::AccessibleTextRole).toString(),
              "Alice, Moderator, hand raised 1, speaking, webcam on, content received");
    EXPECT_FALSE(alice.data(Qt::DecorationRole).value<QPixmap>().isNull());

    // Every picture a row can name is drawn.
    for (const char* name : {"typing_16x16.png", "mike_granted_16x16.png", "mike_forbidden_16x16.png",
                             "mike_speak_16x16.png", "cam_broadcast_16x16.png", "app_share_16x16",
                             "app_share_control_16x16", "ok_1.png", "user_framed.png", "user_framed_gray.png",
                             "motion_hand_32.png", "motion_smile_32.png", "motion_clap_32.png",
                             "motion_positive_32.png", "motion_negative_32.png"})
        EXPECT_FALSE(participantIcon(QString::fromLatin1(name)).isNull()) << name;

    TUserItem recorder = user(50, "Recorder");
    recorder.Email = "robot@rec";
    recorder.OnlineStatus = 1;
    EXPECT_EQ(describeParticipantRow(recorder, kMe, "robot@rec").suffix, "Recorder is paused.");
    recorder.OnlineStatus = 2;
    recorder.UserTypeID = 1001;
    EXPECT_EQ(describeParticipantRow(recorder, kMe, "robot@rec").secondLine, "Administrator  - Audio Test");
}

TEST_F(ParticipantListTest, HitTestFindsPortraitAndIcons) {
    TUserItem speaker = user(30, "Alice", 1000, 4);
    speaker.statusPack.Video_Status = 4;
    const ParticipantRow row = describeParticipantRow(speaker, kMe, {});
    const QRect rect(0, 0, 300, ParticipantRowDelegate::kRowHeight);
    EXPECT_EQ(ParticipantRowDelegate::hitAt(rect, row, ParticipantRowDelegate::portraitRect(rect).center()),
              RowHit::Portrait);
    EXPECT_EQ(ParticipantRowDelegate::hitAt(rect, row, ParticipantRowDelegate::iconRect(rect, 0, 2).center()),
              RowHit::Microphone);
    EXPECT_EQ(ParticipantRowDelegate::hitAt(rect, row, ParticipantRowDelegate::iconRect(rect, 1, 2).center()),
              RowHit::Webcam);
    EXPECT_EQ(ParticipantRowDelegate::hitAt(rect, row, QPoint(120, 10)), RowHit::Other);
}

TEST_F(ParticipantListTest, KeyboardOpensTheMenuOnTheSelectedRow) {
    view.show();
    EXPECT_FALSE(view.openMenuForCurrentRow());  // nothing selected
    view.setCurrentIndex(rows.index(rows.rowOfUid(20)));
    QKeyEvent shiftF10(QEvent::KeyPress, Qt::Key_F10, Qt::ShiftModifier);
    QApplication::sendEvent(&view, &shiftF10);
    auto* menu = view.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "User Item Contextual Menu");
    EXPECT_TRUE(menu->isVisible());
    menu->close();
}

TEST_F(ParticipantListTest, TheSortButtonOffersTheFiveOrdersAndSortsTheList) {
    // The panel owns its list; the fixture's view stays the fixture's.
    ParticipantListPanel panel(model, new ParticipantListView(rows, actions));
    EXPECT_EQ(panel.caption()->text(), "Attendees [3]");
    EXPECT_EQ(panel.sortButton()->accessibleName(), "Attendees Sorting Option");
    EXPECT_FALSE(panel.sortButton()->icon().isNull());
    QMenu* menu = panel.sortMenu();
    EXPECT_EQ(menu->title(), "Attendees Sorting Option");
    auto checked = [menu] {
        emit menu->aboutToShow();
        QStringList on;
        for (QAction* a : menu->actions())
            if (a->isChecked()) on << a->text();
        return on;
    };
    auto choose = [menu](const QString& title) {
        for (QAction* a : menu->actions())
            if (a->text() == title) a->trigger();
    };
    auto names = [this] {
        QStringList n;
        for (const TUserItem& u : model.users()) n << QString::fromStdString(u.FullName);
        return n;
    };
    QStringList titles;
    for (QAction* a : menu->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"Unsorted", "Alphabetical Order", "Moderators on Top", "Speakers on Top",
                                   "Raised Hands on Top"}));
    EXPECT_EQ(checked(), QStringList{"Unsorted"});

    const int refreshes = host.refreshes;
    choose("Alphabetical Order");
    EXPECT_EQ(model.sortOrder(), SortOrder::Alphabetical);
    EXPECT_EQ(names(), (QStringList{"Alice", "Bob", "Me"}));
    EXPECT_GT(host.refreshes, refreshes);
    EXPECT_EQ(checked(), QStringList{"Alphabetical Order"});

    choose("Speakers on Top");  // Alice speaks (4), Bob is forbidden (3), the local user may speak (2)
    EXPECT_EQ(names(), (QStringList{"Alice", "Bob", "Me"}));
    model.updateMotionStatus(20, 1);
    choose("Raised Hands on Top");
    EXPECT_EQ(names(), (QStringList{"Bob", "Alice", "Me"}));
    EXPECT_EQ(checked(), QStringList{"Raised Hands on Top"});

    model.addUserItem(user(40, "Dana"));
    panel.refresh();
    EXPECT_EQ(panel.caption()->text(), "Attendees [4]");
}

TEST_F(ParticipantListTest, TheKeyboardsPlaceFollowsItsParticipantThroughRefreshes) {
    view.setCurrentIndex(rows.index(rows.rowOfUid(20)));
    auto currentUid = [this] { return view.currentIndex().data(ParticipantListModel::UidRole).toInt(); };
    // Resorted: the moderator goes first and Bob moves from the second row to the third.
    model.setSortOrder(SortOrder::ModeratorsOnTop);
    rows.reload();
    ASSERT_NE(rows.rowOfUid(20), 1);
    EXPECT_EQ(currentUid(), 20);
    model.addUserItem(user(10, "Aaron"));
    model.setSortOrder(SortOrder::Alphabetical);
    rows.reload();
    EXPECT_EQ(currentUid(), 20);
    // Gone: nothing is current rather than somebody else.
    model.removeUserItem(20);
    rows.reload();
    EXPECT_FALSE(view.currentIndex().isValid());
}

}  // namespace
}  // namespace veltrin
