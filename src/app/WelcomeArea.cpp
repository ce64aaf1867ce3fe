#include "app/WelcomeArea.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/core/Branding.h"
#include "app/core/Classroom.h"

namespace veltrin {
namespace {

constexpr int CardMaximumWidth = 640;
constexpr int BigButtonWidth = 180;
constexpr int BigButtonHeight = 44;

// One style sheet for the whole area keeps the look in one place; object names select the parts.
constexpr char StyleSheet[] = R"(
#welcomeArea { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef2f7, stop:1 #dfe6ee); }
#welcomeCard { background: #ffffff; border: 1px solid #d5dde6; border-radius: 14px; }
#welcomeTitle { color: #1f3a5f; font-size: 30px; font-weight: 600; }
#welcomeSubtitle { color: #5b6b7d; font-size: 15px; letter-spacing: 1px; }
#welcomeHint { color: #27323f; font-size: 14px; }
#welcomeSupportHint, #welcomeCopyright { color: #5b6b7d; font-size: 12px; }
QPushButton#welcomeReconnect { background: #2563eb; color: white; border: none; border-radius: 8px;
                               font-size: 15px; font-weight: 600; }
QPushButton#welcomeReconnect:hover { background: #1d4fd0; }
QPushButton#welcomeClose { background: #f4f6f9; color: #1f2937; border: 1px solid #c3ccd6; border-radius: 8px;
                           font-size: 15px; }
QPushButton#welcomeClose:hover { background: #e8edf3; }
QPushButton#welcomeHelp { background: transparent; color: #2563eb; border: 1px solid #b8c7dc; border-radius: 6px;
                          padding: 4px 14px; font-size: 13px; }
QPushButton:focus { outline: none; border: 2px solid #f59e0b; }
)";

QLabel* makeLabel(const QString& objectName, const QString& text, const QString& accessibleName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    label->setAccessibleName(accessibleName);
    return label;
}

QPushButton* makeBigButton(const QString& objectName, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setFixedSize(BigButtonWidth, BigButtonHeight);
    button->setCursor(Qt::PointingHandCursor);
    button->setAccessibleName(text);
    return button;
}

}  // namespace

WelcomeArea::WelcomeArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("welcomeArea"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QLatin1String(StyleSheet));
    setAccessibleName(QStringLiteral("Veltrin Session Launcher"));

    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("welcomeCard"));
    card->setMaximumWidth(CardMaximumWidth);
    card->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    auto* title = makeLabel(QStringLiteral("welcomeTitle"), QStringLiteral("Veltrin"),
                            QStringLiteral("Veltrin"), card);
    auto* subtitle = makeLabel(QStringLiteral("welcomeSubtitle"), QStringLiteral("Session Launcher"),
                               QStringLiteral("Session Launcher"), card);
    hint_ = makeLabel(QStringLiteral("welcomeHint"), startupText(), QStringLiteral("Welcome message"), card);
    hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    reconnect_ = makeBigButton(QStringLiteral("welcomeReconnect"), QStringLiteral("Reconnect"), card);
    close_ = makeBigButton(QStringLiteral("welcomeClose"), QStringLiteral("Close"), card);
    connect(reconnect_, &QPushButton::clicked, this, &WelcomeArea::reconnectRequested);
    connect(close_, &QPushButton::clicked, this, &WelcomeArea::closeRequested);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(16);
    buttons->addStretch();
    buttons->addWidget(reconnect_);
    buttons->addWidget(close_);
    buttons->addStretch();

    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->setContentsMargins(48, 36, 48, 36);
    cardLayout->setSpacing(6);
    cardLayout->addWidget(title);
    cardLayout->addWidget(subtitle);
    cardLayout->addSpacing(22);
    cardLayout->addWidget(hint_);
    cardLayout->addSpacing(28);
    cardLayout->addLayout(buttons);

    help_ = new QPushButton(QStringLiteral("Help"), this);
    help_->setObjectName(QStringLiteral("welcomeHelp"));
    help_->setCursor(Qt::PointingHandCursor);
    help_->setAccessibleName(QStringLiteral("Help"));
    help_->setAccessibleDescription(QStringLiteral("Opens the Veltrin support site in your web browser"));
    connect(help_, &QPushButton::clicked, this, &WelcomeArea::helpRequested);

    supportHint_ = makeLabel(QStringLiteral("welcomeSupportHint"),
                             QStringLiteral("Need help? Visit %1 or write to %2.")
                                 .arg(QLatin1String(branding::SupportUrl), QLatin1String(branding::SupportEmail)),
                             QString(), this);
    supportHint_->setAccessibleName(supportHint_->text());

    // The copyright line doubles as a link to the support site; it is a link so that it can be
    // reached and activated from the keyboard too.
    copyright_ = makeLabel(QStringLiteral("welcomeCopyright"),
                           QStringLiteral("<a href=\"help\" style=\"color:#5b6b7d; text-decoration:none\">%1</a>")
                               .arg(QString::fromUtf8(branding::Copyright).toHtmlEscaped()),
                           QString::fromUtf8(branding::Copyright), this);
    copyright_->setTextFormat(Qt::RichText);
    copyright_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    copyright_->setCursor(Qt::PointingHandCursor);
    copyright_->setAccessibleDescription(QStringLiteral("Opens the Veltrin support site in your web browser"));
    connect(copyright_, &QLabel::linkActivated, this, &WelcomeArea::helpRequested);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(32, 32, 32, 20);
    outer->addStretch(3);
    auto* centred = new QHBoxLayout;
    centred->addStretch();
    centred->addWidget(card, 1);
    centred->addStretch();
    outer->addLayout(centred);
    outer->addStretch(4);
    outer->addWidget(help_, 0, Qt::AlignHCenter);
    outer->addSpacing(8);
    outer->addWidget(supportHint_);
    outer->addWidget(copyright_);

    showStartup();
}

void WelcomeArea::setHint(const QString& text) {
    hint_->setText(text);
    hint_->setAccessibleDescription(text);
}

void WelcomeArea::showStartup() {
    setHint(startupText());
    reconnect_->hide();
    close_->show();
    copyright_->show();
    help_->show();
    supportHint_->show();
}

bool WelcomeArea::showConnectionFailed(int status) {
    const QString text = connectionFailedText(status);
    if (text.isEmpty()) return false;
    setHint(text);
    reconnect_->show();
    close_->hide();
    copyright_->show();
    help_->show();
    supportHint_->show();
    return true;
}

QString WelcomeArea::startupText() {
    return QStringLiteral(
        "The Veltrin Session Launcher is used to start Veltrin online sessions and recordings on your computer. "
        "To join a live session or view a recording, open the link in your web browser and follow the steps as "
        "described. To open a recorded session from your local disk double click the .vc8 file.");
}

QString WelcomeArea::connectionFailedText(int status) {
    switch (status) {
    case ClassroomStatus::ConnectFailed:
        return QStringLiteral(
            "Unable to connect to the classroom server. Please make sure you are connected to the Internet and "
            "there is no Proxy or Firewall blocking the communication. If you are connecting from behind a Proxy "
            "server please configure your proxy settings from File - Settings - Connection. Then try "
            "reconnecting.");
    case ClassroomStatus::ConnectionLost:
        return QStringLiteral(
            "You have lost your connection to the classroom server. Please check your internet connection and "
            "try to reconnect in a few moments.");
    default:
        return {};
    }
}

}  // namespace veltrin
