#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FakeClassroom.h"
#include "FakeUserInterface.h"
#include "tests/support/LogCapture.h"
#include "app/AppDelegate.h"
#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "app/WelcomeArea.h"

namespace veltrin {
namespace {

using Journal = std::vector<std::string>;

class AppDelegateTest : public ::testing::Test {
protected:
    DefaultFlags::Storage storage() const { return {dir_.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat}; }

    // A delegate whose classrooms are fakes (withClassrooms) or that has none at all.
    std::unique_ptr<AppDelegate> makeDelegate(bool withClassrooms = true) {
        AppDelegate::Options options;
        options.settings = storage();
        options.ui = &ui_;
        if (withClassrooms) {
            options.classroomFactory = [this](const ClassroomContext& context) -> std::unique_ptr<Classroom> {
                auto classroom = std::make_unique<testing::FakeClassroom>(context, journal_, classroomMenu_);
                classroom->hasMainConnection = classroomHasConnection_;
                return classroom;
            };
        }
        options.startAudioDevices = [this] { journal_.push_back("audio start"); };
        options.stopAudioDevices = [this] { journal_.push_back("audio stop"); };
        auto delegate = std::make_unique<AppDelegate>(std::move(options));
        delegate->applicationDidFinishLaunching();
        return delegate;
    }

    static bool sessionMenusShown(AppDelegate& delegate) {
        const QList<QAction*>& items = delegate.mainWindow().mainMenu().sessionItems();
        const bool first = items.front()->isVisible();
        for (const QAction* item : items) EXPECT_EQ(item->isVisible(), first) << item->text().toStdString();
        return first;
    }

    QTemporaryDir dir_;
    testing::FakeUserInterface ui_;
    Journal journal_;
    MenuContext classroomMenu_{false, true, 1000, false, false, false, false};
    bool classroomHasConnection_ = false;
};

TEST_F(AppDelegateTest, StartsOnTheWelcomeAreaWithoutSessionMenus) {
    {
        DefaultFlags stored(storage());
        stored.setDefBytesPerSecond(64000);
        stored.SaveDefaultProperties();
    }
    auto delegate = makeDelegate();
    MainWindow& window = delegate->mainWindow();
    EXPECT_EQ(delegate->launchMode(), 2);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isWelcomeShown());
    EXPECT_EQ(window.welcome().hintLabel().text(), WelcomeArea::startupText());
    EXPECT_TRUE(window.welcome().reconnectButton().isHidden());
    EXPECT_FALSE(sessionMenusShown(*delegate));
    EXPECT_EQ(window.mainMenu().checkedConnectionSpeed(), 64000);
    EXPECT_EQ(journal_, Journal{"audio start"});
    delegate->applicationWillTerminate();
    EXPECT_EQ(journal_.back(), "audio stop");
}

TEST_F(AppDelegateTest, JoinLinkOpensALiveClassroomAndConnects) {
    auto delegate = makeDelegate();
    testing::LogCapture log;
    delegate->handleGetURLEvent(QStringLiteral("vcc8join://h:5000/u/s3cret/7/T"));

    EXPECT_EQ(delegate->launchMode(), 0);
    const SessionParameters& s = delegate->sessionParameters();
    EXPECT_EQ(s.Host, QStringLiteral("h"));
    EXPECT_EQ(s.Port1, 5000);
    EXPECT_EQ(s.Password, QStringLiteral("s3cret"));
    EXPECT_EQ(s.RoomID, 7);
    EXPECT_EQ(journal_, (Journal{"audio start", "create live host=h", "removeAllTempFiles", "Connect token=T"}));
    ASSERT_NE(delegate->classroom(), nullptr);
    EXPECT_EQ(delegate->mainWindow().roomView(), delegate->classroom()->view());
    EXPECT_FALSE(delegate->mainWindow().isWelcomeShown());
    EXPECT_TRUE(sessionMenusShown(*delegate));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"url = vcc8join://h:5000/u/****/7/T"});
}

TEST_F(AppDelegateTest, MalformedLinkOnlyShowsTheInvalidUrlBox) {
    auto delegate = makeDelegate();
    delegate->handleGetURLEvent(QStringLiteral("vcc8join://first:5000/u/p/7"));
    const SessionParameters before = delegate->sessionParameters();
    const Journal journalBefore = journal_;

    testing::LogCapture log;
    for (const char* link : {"vcc8join://h:5000/u/p", "vcc8join://h:99999/u/p/7", "vcc8join://h:5000/u/p/seven"}) {
        ui_.messages.clear();
        delegate->handleGetURLEvent(QString::fromLatin1(link));
        ASSERT_EQ(ui_.messages.size(), 1u) << link;
        EXPECT_EQ(ui_.messages[0].title, QStringLiteral("Invalid URL"));
        EXPECT_EQ(ui_.messages[0].buttons, QStringList{QStringLiteral("OK")});
        EXPECT_EQ(ui_.messages[0].text, invalidUrlMessage());
    }
    EXPECT_EQ(journal_, journalBefore) << "the running classroom must be left alone";
    EXPECT_EQ(delegate->sessionParameters(), before);
    EXPECT_EQ(delegate->launchMode(), 0);
    EXPECT_TRUE(log.contains("Error: "));
}

TEST_F(AppDelegateTest, OtherSchemesChangeNothing) {
    auto delegate = makeDelegate();
    delegate->handleGetURLEvent(QStringLiteral("https://example.com/u/p/7"));
    EXPECT_EQ(delegate->launchMode(), 2);
    EXPECT_EQ(delegate->classroom(), nullptr);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(delegate->mainWindow().isWelcomeShown());
}

TEST_F(AppDelegateTest, PlaybackLinksAndFilesOpenPlaybackClassrooms) {
    auto delegate = makeDelegate();
    delegate->handleGetURLEvent(QStringLiteral("vc8https://server/path/x.vc8"));
    EXPECT_EQ(delegate->launchMode(), 1);
    EXPECT_EQ(delegate->sessionParameters().PlaybackURL, QUrl(QStringLiteral("https://server/path/x.vc8")));
    EXPECT_FALSE(sessionMenusShown(*delegate));
    EXPECT_EQ(journal_.back(), "Playback https://server/path/x.vc8");

    journal_.clear();
    EXPECT_TRUE(delegate->openFile(QStringLiteral("/tmp/lesson.vc8")));
    EXPECT_EQ(delegate->launchMode(), 3);
    EXPECT_EQ(delegate->recordingPath(), QStringLiteral("/tmp/lesson.vc8"));
    EXPECT_EQ(journal_, (Journal{"DisconnectAndHide host=", "destroy", "create playback host=", "removeAllTempFiles",
                                 "PlaybackFile /tmp/lesson.vc8"}));
    EXPECT_FALSE(sessionMenusShown(*delegate));

    journal_.clear();
    delegate->handleLaunchArgument(QStringLiteral("file:///tmp/other.vc8"));
    EXPECT_EQ(journal_.back(), "PlaybackFile /tmp/other.vc8");
}

TEST_F(AppDelegateTest, ANewLinkEndsTheOldSessionBeforeChangingTheParameters) {
    auto delegate = makeDelegate();
    delegate->handleGetURLEvent(QStringLiteral("vcc8join://first:5000/u/p/7"));
    journal_.clear();
    delegate->handleGetURLEvent(QStringLiteral("vcc8join://second:5000/u/p/8"));
    EXPECT_EQ(journal_, (Journal{"DisconnectAndHide host=first", "destroy", "create live host=second",
                                 "removeAllTempFiles", "Connect token=5a1c9e37-b2d4-4f86-a3e1-7c9d2b6f8e42"}));
    ASSERT_NE(delegate->classroom(), nullptr);
    EXPECT_EQ(delegate->mainWindow().roomView(), delegate->classroom()->view());
}

TEST_F(AppDelegateTest, ConnectionStatusDecidesBetweenWelcomeAndQuit) {
    struct Case {
        int status;
        bool failedForm;
        bool quits;
    };
    for (const Case c : {Case{-7, true, false}, Case{-2, true, false}, Case{-1, false, true}, Case{-3, false, true},
                         Case{-4, false, true}, Case{-5, false, true}, Case{-6, false, true}, Case{0, false, false},
                         Case{-8, false, false}}) {
        ui_.quitCount = 0;
        auto delegate = makeDelegate();
        delegate->handleGetURLEvent(QStringLiteral("vcc8join://h:5000/u/p/7"));
        delegate->classroomRemoveView(true);
        testing::LogCapture log;
        delegate->classroomConnectionStatus(c.status);

        MainWindow& window = delegate->mainWindow();
        EXPECT_EQ(log.lines(),
                  (std::vector<std::string>{"delegate - ", "classroom status: " + std::to_string(c.status)}));
        EXPECT_EQ(ui_.quitCount, c.quits ? 1 : 0) << c.status;
        EXPECT_EQ(window.isWelcomeShown(), c.failedForm) << c.status;
        EXPECT_EQ(window.mainMenu().reconnectAction().isVisible(), c.failedForm) << c.status;
        for (QAction* item : window.mainMenu().sessionItems()) {
            if (item != &window.mainMenu().reconnectAction()) {
                EXPECT_FALSE(item->isVisible()) << c.status;
            }
        }
        if (c.failedForm) {
            EXPECT_EQ(window.welcome().hintLabel().text(), WelcomeArea::connectionFailedText(c.status));
            EXPECT_FALSE(window.welcome().reconnectButton().isHidden());
            EXPECT_TRUE(window.welcome().closeButton().isHidden());
        }
    }
}

TEST_F(AppDelegateTest, ReconnectStartsANewClassroomWithoutTheUsedToken) {
    auto delegate = makeDelegate();
    delegate->handleGetURLEvent(QStringLiteral("vcc8join://h:5000/u/p/7/T/4000"));
    delegate->classroom()->DisconnectAndHide();
    delegate->classroomConnectionStatus(-7);
    journal_.clear();

    delegate->mainWindow().welcome().reconnectButton().click();
    EXPECT_EQ(journal_, (Journal{"DisconnectAndHide host=h", "destroy", "create live host=h", "removeAllTempFiles",
                                 "Connect token=5a1c9e37-b2d4-4f86-a3e1-7c9d2b6f8e42"}));
    EXPECT_EQ(delegate->sessionParameters().Port2, 4000);
    EXPECT_FALSE(delegate->mainWindow().isWelcomeShown());
    EXPECT_TRUE(sessionMenusShown(*delegate));
}

TEST_F(AppDelegateTest, ReconnectNeedsALiveClassroom) {
    auto delegate = makeDelegate();
    delegate->reconnect();
    delegate->handleGetURLEvent(QStringLiteral("vc8http://server/x.vc8"));
    journal_.clear();
    delegate->mainWindow().mainMenu().reconnectAction().trigger();
    EXPECT_TRUE(journal_.empty());
}

TEST_F(AppDelegateTest, AHandOverWaitsForAnOpenModalDialog) {
    auto delegate = makeDelegate();
    QDialog dialog(&delegate->mainWindow());
    dialog.setModal(true);
    dialog.open();
    delegate->receiveHandOver(QStringLiteral("vcc8join://h:5000/u/p/7"));
    EXPECT_EQ(delegate->classroom(), nullptr) << "nothing may be replaced under an open dialog";

    dialog.close();
    QDeadlineTimer deadline(5000);
    while (delegate->classroom() == nullptr && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_NE(delegate->classroom(), nullptr);
    EXPECT_EQ(journal_.back(), "Connect token=5a1c9e37-b2d4-4f86-a3e1-7c9d2b6f8e42");

    journal_.clear();
    delegate->receiveHandOver(QString());
    EXPECT_TRUE(journal_.empty()) << "an empty hand-over only brings the window forward";
}

TEST_F(AppDelegateTest, WithoutClassroomsALinkIsReadButNothingOpens) {
    auto delegate = makeDelegate(false);
    delegate->handleGetURLEvent(QStringLiteral("vcc8join://h:5000/u/p/7"));
    EXPECT_EQ(delegate->launchMode(), 0);
    EXPECT_EQ(delegate->sessionParameters().Host, QStringLiteral("h"));
    EXPECT_EQ(delegate->classroom(), nullptr);
    EXPECT_TRUE(delegate->mainWindow().isWelcomeShown());
    EXPECT_FALSE(sessionMenusShown(*delegate));
}

TEST_F(AppDelegateTest, MenuItemsAreValidatedAndDispatchedByTag) {
    auto delegate = makeDelegate();
    testing::LogCapture log;
    EXPECT_FALSE(delegate->validateMenuItem(MenuTag::SaveTextMessages, QStringLiteral("Save Text Messages...")));
    EXPECT_TRUE(log.contains("menu item - Save Text Messages..."));

    MainMenu& menu = delegate->mainWindow().mainMenu();
    menu.actionForTag(MenuTag::NewWhiteboard)->trigger();
    EXPECT_EQ(journal_.back(), "audio start") << "no classroom: nothing to dispatch to";

    delegate->handleGetURLEvent(QStringLiteral("vcc8join://h:5000/u/p/7"));
    EXPECT_TRUE(delegate->validateMenuItem(MenuTag::SaveTextMessages, QStringLiteral("Save")));
    menu.actionForTag(MenuTag::NewWhiteboard)->trigger();
    EXPECT_EQ(journal_.back(), "command 1");
    menu.actionForTag(MenuTag::StartMyWebcam)->trigger();
    EXPECT_EQ(journal_.back(), "command 1") << "video is not allowed for this user";
    for (QMenu* each : menu.menus()) menu.validate(*each);
    EXPECT_TRUE(menu.actionForTag(MenuTag::ClearMotions)->isEnabled());
    EXPECT_FALSE(menu.actionForTag(MenuTag::ShareScreen)->isEnabled());
}

TEST_F(AppDelegateTest, ConnectionSpeedGoesToTheConnectionOrTheSettings) {
    auto delegate = makeDelegate();
    MainMenu& menu = delegate->mainWindow().mainMenu();
    delegate->chooseConnectionSpeed(32000);
    EXPECT_EQ(menu.checkedConnectionSpeed(), 32000);
    EXPECT_EQ(DefaultFlags(storage()).defBytesPerSecond(), 32000);

    classroomHasConnection_ = true;
    delegate->handleGetURLEvent(QStringLiteral("vcc8join://h:5000/u/p/7"));
    delegate->chooseConnectionSpeed(128000);
    EXPECT_EQ(journal_.back(), "speed 128000");
    EXPECT_EQ(menu.checkedConnectionSpeed(), 128000);
    EXPECT_EQ(DefaultFlags(storage()).defBytesPerSecond(), 32000) << "the classroom stores it itself";
}

TEST_F(AppDelegateTest, AboutHelpAndCloseGoThroughTheUserInterface) {
    auto delegate = makeDelegate();
    MainMenu& menu = delegate->mainWindow().mainMenu();
    emit menu.aboutRequested();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].title, QStringLiteral("About Veltrin"));
    EXPECT_EQ(ui_.messages[0].buttons, QStringList{QStringLiteral("OK")});
    EXPECT_TRUE(ui_.messages[0].text.startsWith(QStringLiteral("Veltrin for Linux, Version 8.0.0\n")))
        << ui_.messages[0].text.toStdString();
    EXPECT_TRUE(ui_.messages[0].text.contains(QStringLiteral("Copyright")));
    EXPECT_TRUE(ui_.messages[0].text.contains(QStringLiteral("https://www.veltrin.example/")));

    WelcomeArea& welcome = delegate->mainWindow().welcome();
    emit menu.helpRequested();
    welcome.helpButton().click();
    emit welcome.copyrightLabel().linkActivated(QStringLiteral("help"));
    ASSERT_EQ(ui_.openedUrls.size(), 3u);
    for (const QUrl& url : ui_.openedUrls) EXPECT_EQ(url, QUrl(QStringLiteral("https://support.veltrin.example/")));

    welcome.closeButton().click();
    EXPECT_EQ(ui_.quitCount, 1);
}

}  // namespace
}  // namespace veltrin
