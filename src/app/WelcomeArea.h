#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace veltrin {

// What the window shows while no classroom is open: a start-up form that explains how sessions are
// started, and a connection-failed form that offers Reconnect.
class WelcomeArea : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeArea(QWidget* parent = nullptr);

    void showStartup();
    // The form for a session that could not start (-7) or was lost (-2); answers false and changes
    // nothing for any other status.
    bool showConnectionFailed(int status);

    // The hint of each form, for the window and its tests.
    static QString startupText();
    static QString connectionFailedText(int status);

    QLabel& hintLabel() { return *hint_; }
    QPushButton& reconnectButton() { return *reconnect_; }
    QPushButton& closeButton() { return *close_; }
    QPushButton& helpButton() { return *help_; }
    QLabel& copyrightLabel() { return *copyright_; }
    QLabel& supportHintLabel() { return *supportHint_; }

signals:
    void reconnectRequested();
    void closeRequested();
    void helpRequested();

private:
    void setHint(const QString& text);

    QLabel* hint_;
    QPushButton* reconnect_;
    QPushButton* close_;
    QPushButton* help_;
    QLabel* copyright_;
    QLabel* supportHint_;
};

}  // namespace veltrin
