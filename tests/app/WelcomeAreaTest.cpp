#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "app/WelcomeArea.h"

namespace veltrin {
namespace {

const QString StartupText = QStringLiteral(
    "The Veltrin Session Launcher is used to start Veltrin online sessions and recordings on your computer. To "
    "join a live session or view a recording, open the link in your web browser and follow the steps as "
    "described. To open a recorded session from your local disk double click the .vc8 file.");

struct Shown {
    bool reconnect, close, copyright, help, supportHint;
};

Shown shownParts(WelcomeArea& area) {
    return {!area.reconnectButton().isHidden(), !area.closeButton().isHidden(), !area.copyrightLabel().isHidden(),
            !area.helpButton().isHidden(), !area.supportHintLabel().isHidden()};
}

TEST(WelcomeAreaTest, StartupFormExplainsHowToStartASession) {
    WelcomeArea area;
    area.show();
    EXPECT_EQ(area.hintLabel().text(), StartupText);
    const Shown shown = shownParts(area);
    EXPECT_FALSE(shown.reconnect);
    EXPECT_TRUE(shown.close);
    EXPECT_TRUE(shown.copyright);
    EXPECT_TRUE(shown.help);
    EXPECT_TRUE(shown.supportHint);
}

TEST(WelcomeAreaTest, ConnectionFailedFormsOfferReconnect) {
    struct Case {
        int status;
        QString text;
    };
    const Case cases[] = {
        {-7, QStringLiteral("Unable to connect to the classroom server. Please make sure you are connected to the "
                            "Internet and there is no Proxy or Firewall blocking the communication. If you are "
                            "connecting from behind a Proxy server please configure your proxy settings from File - "
                            "Settings - Connection. Then try reconnecting.")},
        {-2, QStringLiteral("You have lost your connection to the classroom server. Please check your internet "
                            "connection and try to reconnect in a few moments.")},
    };
    for (const Case& c : cases) {
        WelcomeArea area;
        area.show();
        ASSERT_TRUE(area.showConnectionFailed(c.status));
        EXPECT_EQ(area.hintLabel().text(), c.text);
        const Shown shown = shownParts(area);
        EXPECT_TRUE(shown.reconnect);
        EXPECT_FALSE(shown.close);
        EXPECT_TRUE(shown.copyright && shown.help && shown.supportHint);

        area.showStartup();
        EXPECT_EQ(area.hintLabel().text(), StartupText);
        EXPECT_FALSE(shownParts(area).reconnect);
    }
}

TEST(WelcomeAreaTest, OtherStatusesLeaveTheFormAlone) {
    WelcomeArea area;
    for (int status : {0, -1, -3, -4, -5, -6, 400}) {
        EXPECT_FALSE(area.showConnectionFailed(status)) << status;
        EXPECT_EQ(area.hintLabel().text(), StartupText);
        EXPECT_TRUE(area.reconnectButton().isHidden());
    }
}

TEST(WelcomeAreaTest, ButtonsAndTheCopyrightLinkReportTheirRequests) {
    WelcomeArea area;
    area.showConnectionFailed(-2);
    QSignalSpy reconnect(&area, &WelcomeArea::reconnectRequested);
    QSignalSpy close(&area, &WelcomeArea::closeRequested);
    QSignalSpy help(&area, &WelcomeArea::helpRequested);
    area.reconnectButton().click();
    area.closeButton().click();
    area.helpButton().click();
    emit area.copyrightLabel().linkActivated(QStringLiteral("help"));
    EXPECT_EQ(reconnect.count(), 1);
    EXPECT_EQ(close.count(), 1);
    EXPECT_EQ(help.count(), 2);
}

TEST(WelcomeAreaTest, EveryButtonAndLabelHasAnAccessibleName) {
    WelcomeArea area;
    const auto buttons = area.findChildren<QAbstractButton*>();
    const auto labels = area.findChildren<QLabel*>();
    EXPECT_EQ(buttons.size(), 3);
    EXPECT_GE(labels.size(), 4);
    for (const QAbstractButton* button : buttons) EXPECT_FALSE(button->accessibleName().isEmpty()) << button->text().toStdString();
    for (const QLabel* label : labels) EXPECT_FALSE(label->accessibleName().isEmpty()) << label->text().toStdString();
    EXPECT_EQ(area.hintLabel().accessibleDescription(), StartupText);
}

}  // namespace
}  // namespace veltrin
