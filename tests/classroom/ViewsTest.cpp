// The classroom window's views, toasts and full screen, without a connection.

#include <QFontMetrics>
#include <QLabel>
#include <QSlider>
#include <QSplitter>
#include <QToolButton>

#include <gtest/gtest.h>

#include "classroom/ClassroomViewController.h"
#include "classroom/Toast.h"
#include "classroom/chat/NotesPanel.h"
#include "tests/classroom/FakeShell.h"

namespace veltrin::testing {
namespace {

class Views : public ::testing::Test {
protected:
    ClassroomViewController& make(ClassroomMode mode = ClassroomMode::Live) {
        controller = std::make_unique<ClassroomViewController>(shell.context(mode));
        controller->view()->resize(1200, 800);
        controller->view()->show();
        return *controller;
    }
    FakeShell shell;
    std::unique_ptr<ClassroomViewController> controller;
};

TEST_F(Views, WhiteboardViewWithoutCanvasIsOnlyRecorded) {
    auto& c = make();
    c.onSessionTimer();  // toasts allowed
    c._setView(ClassroomPage::WebBrowser);
    EXPECT_EQ(c.classroomView()->visiblePage(), ClassroomPage::WebBrowser);
    EXPECT_EQ(c.classroomView()->toastText(), QStringLiteral("Guided Web Browser"));
    c._setView(ClassroomPage::Whiteboard);
    EXPECT_EQ(c.currentClassroomView(), ClassroomPage::Whiteboard);
    EXPECT_EQ(c.classroomView()->visiblePage(), ClassroomPage::WebBrowser);

    c.classroomView()->setWhiteboardCanvas(new QLabel(QStringLiteral("canvas")));
    c._setView(ClassroomPage::Whiteboard);
    EXPECT_EQ(c.classroomView()->visiblePage(), ClassroomPage::Whiteboard);
    EXPECT_EQ(c.classroomView()->toastText(), QStringLiteral("Whiteboard View"));
}

TEST_F(Views, TheCurrentViewAgainShowsNoToast) {
    auto& c = make();
    c.onSessionTimer();
    c._setView(ClassroomPage::SharedScreen);
    c.classroomView()->showToast(QString(), 0);  // clear the first one
    c.classroomView()->findChild<Toast*>()->dismiss();
    c._setView(ClassroomPage::SharedScreen);
    EXPECT_TRUE(c.classroomView()->toastText().isEmpty());
}

TEST_F(Views, ToastsWaitForTheSessionTimerAndPlaybackOnlyShowsForcedOnes) {
    auto& live = make();
    live.Safe_DisplayToast("too early", 2);
    EXPECT_TRUE(live.classroomView()->toastText().isEmpty());
    live.onSessionTimer();
    live.Safe_DisplayToast("later", 2);
    EXPECT_EQ(live.classroomView()->toastText(), QStringLiteral("later"));

    auto& playback = make(ClassroomMode::Playback);
    playback.Safe_DisplayToast("never", 2);
    EXPECT_TRUE(playback.classroomView()->toastText().isEmpty());
    playback.Safe_ForceDisplayToast("forced", 2);
    EXPECT_EQ(playback.classroomView()->toastText(), QStringLiteral("forced"));
}

TEST_F(Views, ToastGeometryFollowsItsText) {
    auto& c = make();
    c.Safe_ForceDisplayToast("Tool not allowed.", 1.5);
    auto* toast = c.classroomView()->findChild<Toast*>();
    ASSERT_NE(toast, nullptr);
    const QSize text = QFontMetrics(toast->font()).size(Qt::TextSingleLine, QStringLiteral("Tool not allowed."));
    EXPECT_EQ(toast->width(), static_cast<int>(text.width() * 1.3));
    EXPECT_EQ(toast->height(), text.height() + 20);
    EXPECT_EQ(toast->geometry().bottom() + 1, c.view()->window()->height() - 50);
    EXPECT_NEAR(toast->geometry().center().x(), c.view()->window()->width() / 2, 1);
    EXPECT_EQ(toast->font().pointSizeF(), 13.0);
}

TEST_F(Views, SwitchingViewLeavesFullScreenFirst) {
    auto& c = make();
    c.acFullScreen();
    EXPECT_TRUE(c.isFullScreen());
    EXPECT_TRUE(c.view()->findChild<QWidget*>(QStringLiteral("sidePanel"))->isHidden());
    c._setView(ClassroomPage::WebBrowser);
    EXPECT_FALSE(c.isFullScreen());
    EXPECT_FALSE(c.view()->findChild<QWidget*>(QStringLiteral("sidePanel"))->isHidden());
}

TEST_F(Views, AttendeeSwitchesLocallyWithAShortToast) {
    auto& c = make();
    c.onSessionTimer();
    c.acSwitchToView(ClassroomPage::SharedScreen);
    EXPECT_EQ(c.classroomView()->visiblePage(), ClassroomPage::SharedScreen);
    EXPECT_EQ(c.classroomView()->toastText(), QStringLiteral("Shared Screen"));
}

TEST_F(Views, SidePanelStaysBetweenItsBounds) {
    auto& c = make();
    auto* side = c.view()->findChild<QWidget*>(QStringLiteral("sidePanel"));
    EXPECT_EQ(side->minimumWidth(), 200);
    EXPECT_EQ(side->maximumWidth(), 550);
    EXPECT_FALSE(c.view()->findChild<QSplitter*>()->childrenCollapsible());
}

TEST_F(Views, PlaybackShowsThePlayControlsInsteadOfTheSessionTools) {
    auto& c = make(ClassroomMode::Playback);
    auto* view = c.classroomView();
    EXPECT_TRUE(view->button(ClassroomControl::PlayPause)->isVisible());
    EXPECT_TRUE(view->positionSlider()->isVisible());
    for (const auto control : {ClassroomControl::Microphone, ClassroomControl::WhiteboardView, ClassroomControl::Notes,
                               ClassroomControl::Polling, ClassroomControl::ClearMotions})
        EXPECT_FALSE(view->button(control)->isVisible());
    auto& live = make(ClassroomMode::Live);
    EXPECT_FALSE(live.classroomView()->button(ClassroomControl::PlayPause)->isVisible());
    EXPECT_TRUE(live.classroomView()->button(ClassroomControl::Microphone)->isVisible());
    EXPECT_FALSE(live.classroomView()->positionSlider()->isVisible());
}

TEST_F(Views, NotesButtonTogglesTheNotesPanel) {
    auto& c = make();
    c.classroomView()->button(ClassroomControl::Notes)->click();
    auto* notes = c.view()->window()->findChild<NotesPanel*>();
    ASSERT_NE(notes, nullptr);
    EXPECT_TRUE(notes->isVisible());
    c.classroomView()->button(ClassroomControl::Notes)->click();
    EXPECT_FALSE(notes->isVisible());
}

TEST_F(Views, EveryToolBarButtonHasAnAccessibleName) {
    auto& c = make();
    for (int i = 0; i < static_cast<int>(ClassroomControl::Count); ++i)
        EXPECT_FALSE(c.classroomView()->button(static_cast<ClassroomControl>(i))->accessibleName().isEmpty()) << i;
}

}  // namespace
}  // namespace veltrin::testing
