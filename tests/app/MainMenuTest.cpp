#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/MainMenu.h"
#include "app/core/MenuRules.h"

namespace veltrin {
namespace {

std::vector<QAction*> allTaggedActions(const MainMenu& menu) {
    std::vector<QAction*> actions;
    for (const QMenu* each : menu.menus())
        for (QAction* action : each->actions())
            if (MainMenu::tagOf(*action)) actions.push_back(action);
    return actions;
}

TEST(MainMenuTest, CarriesEveryTagOnceAndGroupsTheSessionItems) {
    QMenuBar bar;
    MainMenu menu(bar);
    std::multiset<int> tags;
    for (const QAction* action : allTaggedActions(menu)) tags.insert(*MainMenu::tagOf(*action));

    const std::vector<int> expected{1,   2,   3,   5,   6,   7,   8,   9,   10,  11,  14,  201, 202, 203, 204, 205, 206,
                                    301, 302, 304, 305, 501, 502, 504, 508, 516, 520, 521, 522, 701, 702, 703, 704, 705,
                                    706, 801, 802, 16000, 32000, 64000, 128000, 256000};
    for (const int tag : expected) EXPECT_EQ(tags.count(tag), 1u) << tag;
    // Quit, Help, About and the unthrottled speed share the always-enabled tag 0.
    EXPECT_EQ(tags.count(0), 4u);
    EXPECT_EQ(tags.size(), expected.size() + 4);

    const QList<QAction*>& session = menu.sessionItems();
    ASSERT_EQ(session.size(), 9);
    EXPECT_EQ(session[0], &menu.reconnectAction());
    EXPECT_EQ(session[1], menu.actionForTag(MenuTag::SaveTextMessages));
    EXPECT_EQ(session[2], menu.actionForTag(MenuTag::ClearTextMessages));
    EXPECT_TRUE(session[3]->isSeparator());
    std::vector<QString> menuTitles;
    for (int i = 4; i < 9; ++i) {
        ASSERT_NE(session[i]->menu(), nullptr);
        menuTitles.push_back(session[i]->text().remove(u'&'));
    }
    EXPECT_EQ(menuTitles, (std::vector<QString>{"Share", "Whiteboard", "Actions", "Audio", "Video"}));

    menu.setSessionItemsVisible(false);
    for (const QAction* item : session) EXPECT_FALSE(item->isVisible());
    std::vector<QString> shownInBar;
    for (const QAction* top : bar.actions())
        if (top->isVisible()) shownInBar.push_back(top->text().remove(u'&'));
    EXPECT_EQ(shownInBar, (std::vector<QString>{"File", "Help"}));
    menu.setSessionItemsVisible(true);
    for (const QAction* item : session) EXPECT_TRUE(item->isVisible());
}

TEST(MainMenuTest, ValidationAsksByTagAndTitle) {
    QMenuBar bar;
    MainMenu menu(bar);
    std::map<int, QString> asked;
    menu.setValidator([&asked](int tag, const QString& title) {
        asked[tag] = title;
        return tag % 2 == 0;
    });
    for (QMenu* each : menu.menus()) {
        if (each->actions().contains(menu.actionForTag(MenuTag::NewWhiteboard))) emit each->aboutToShow();
    }
    EXPECT_EQ(asked[MenuTag::NewWhiteboard], QStringLiteral("New Whiteboard"));
    EXPECT_EQ(asked.size(), 10u);
    EXPECT_FALSE(menu.actionForTag(MenuTag::NewWhiteboard)->isEnabled());
    EXPECT_TRUE(menu.actionForTag(MenuTag::RemoveWhiteboard)->isEnabled());
}

TEST(MainMenuTest, ItemsReportWhatWasChosen) {
    QMenuBar bar;
    MainMenu menu(bar);
    QSignalSpy commands(&menu, &MainMenu::classroomCommand);
    QSignalSpy settings(&menu, &MainMenu::settingsRequested);
    QSignalSpy reconnect(&menu, &MainMenu::reconnectRequested);
    QSignalSpy speed(&menu, &MainMenu::connectionSpeedChosen);

    for (int tag : {MenuTag::MotionClap, MenuTag::SharePresentations, MenuTag::ExportAllWhiteboards})
        menu.actionForTag(tag)->trigger();
    ASSERT_EQ(commands.count(), 3);
    EXPECT_EQ(commands[0][0].toInt(), MenuTag::MotionClap);
    EXPECT_EQ(commands[2][0].toInt(), MenuTag::ExportAllWhiteboards);

    for (int tag : {MenuTag::Settings, MenuTag::AudioSettings, MenuTag::ClassroomSettings, MenuTag::VideoSettings})
        menu.actionForTag(tag)->trigger();
    ASSERT_EQ(settings.count(), 4);
    EXPECT_EQ(settings[3][0].toInt(), MenuTag::VideoSettings);
    EXPECT_EQ(commands.count(), 3) << "settings items are not classroom commands";

    menu.reconnectAction().trigger();
    EXPECT_EQ(reconnect.count(), 1);

    menu.actionForTag(64000)->trigger();
    ASSERT_EQ(speed.count(), 1);
    EXPECT_EQ(speed[0][0].toInt(), 64000);
    EXPECT_EQ(menu.checkedConnectionSpeed(), 64000);
}

TEST(MainMenuTest, ConnectionSpeedIsCheckedAlone) {
    QMenuBar bar;
    MainMenu menu(bar);
    EXPECT_EQ(menu.checkedConnectionSpeed(), -1);
    menu.checkConnectionSpeed(0);
    EXPECT_EQ(menu.checkedConnectionSpeed(), 0);
    menu.checkConnectionSpeed(256000);
    EXPECT_EQ(menu.checkedConnectionSpeed(), 256000);
    int checked = 0;
    for (const MainMenu::ConnectionSpeed& s : MainMenu::connectionSpeeds()) {
        const QAction* item = s.bytesPerSecond == 0 ? nullptr : menu.actionForTag(s.bytesPerSecond);
        if (item != nullptr && item->isChecked()) ++checked;
    }
    EXPECT_EQ(checked, 1);
    menu.checkConnectionSpeed(12345);  // a stored rate no item offers
    EXPECT_EQ(menu.checkedConnectionSpeed(), -1);
}

}  // namespace
}  // namespace veltrin
