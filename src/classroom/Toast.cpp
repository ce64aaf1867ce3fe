#include "Toast.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QTimer>

namespace veltrin {
namespace {

constexpr int kFadeMs = 250;
constexpr double kShownOpacity = 0.9;
constexpr double kHiddenOpacity = 0.01;

}  // namespace

Toast::Toast(QWidget* window)
    : QLabel(window), opacity_(new QGraphicsOpacityEffect(this)), fade_(new QPropertyAnimation(opacity_, "opacity", this)),
      timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("toast"));
    setAlignment(Qt::AlignCenter);
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPointSizeF(13);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(tr("Notification"));
    opacity_->setOpacity(kHiddenOpacity);
    setGraphicsEffect(opacity_);
    fade_->setDuration(kFadeMs);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { fadeTo(kHiddenOpacity, true); });
    window->installEventFilter(this);
    hide();
}

void Toast::present(const QString& text, double seconds) {
    setText(text);
    setAccessibleDescription(text);
    presented_ = true;
    place();
    show();
    raise();
    fadeTo(kShownOpacity, false);
    timer_->stop();
    if (seconds > 0) timer_->start(static_cast<int>(seconds * 1000) + kFadeMs);
}

void Toast::dismiss() {
    timer_->stop();
    presented_ = false;
    fade_->stop();
    hide();
}

void Toast::fadeTo(double opacity, bool closeAfter) {
    fade_->stop();
    disconnect(fade_, &QPropertyAnimation::finished, this, nullptr);
    fade_->setStartValue(opacity_->opacity());
    fade_->setEndValue(opacity);
    if (closeAfter) connect(fade_, &QPropertyAnimation::finished, this, &Toast::dismiss);
    fade_->start();
}

void Toast::place() {
    const QFontMetrics metrics(font());
    const QSize textSize = metrics.size(Qt::TextSingleLine, text());
    const int w = static_cast<int>(textSize.width() * 1.3);
    const int h = textSize.height() + 20;
    const QWidget* window = parentWidget();
    setGeometry((window->width() - w) / 2, window->height() - 50 - h, w, h);
}

void Toast::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 7, 7);
    painter.fillPath(path, QColor(64, 64, 64));
    painter.end();
    QLabel::paintEvent(event);
}

bool Toast::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && presented_) place();
    return QLabel::eventFilter(watched, event);
}

void blink(QWidget* control) {
    if (control == nullptr) return;
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(control->graphicsEffect());
    if (effect == nullptr) {
        effect = new QGraphicsOpacityEffect(control);
        control->setGraphicsEffect(effect);
    }
    auto* group = new QSequentialAnimationGroup(control);
    auto* out = new QPropertyAnimation(effect, "opacity", group);
    out->setDuration(300);
    out->setStartValue(1.0);
    out->setEndValue(0.1);
    auto* back = new QPropertyAnimation(effect, "opacity", group);
    back->setDuration(300);
    back->setStartValue(0.1);
    back->setEndValue(1.0);
    group->addAnimation(out);
    group->addPause(300);
    group->addAnimation(back);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

}  // namespace veltrin
