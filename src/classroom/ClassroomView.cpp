#include "ClassroomView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace veltrin {

ClassroomView::ClassroomView(QWidget* parent)
    : QWidget(parent),
      status_(new QLabel(this)),
      exit_(new QPushButton(tr("Exit"), this)),
      participants_(new QListWidget(this)),
      hud_(new QLabel(this)),
      toast_(new QLabel(this)),
      toastTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("classroomView"));
    status_->setObjectName(QStringLiteral("statusLabel"));
    status_->setAccessibleName(tr("Connection status"));
    exit_->setObjectName(QStringLiteral("exitButton"));
    exit_->setAccessibleName(tr("Exit the session"));
    participants_->setObjectName(QStringLiteral("participantList"));
    participants_->setAccessibleName(tr("Participants"));
    participants_->setMaximumWidth(280);

    auto* top = new QHBoxLayout;
    top->addWidget(status_, 1);
    top->addWidget(exit_);
    auto* body = new QHBoxLayout;
    body->addWidget(participants_);
    body->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    hud_->setObjectName(QStringLiteral("hudPanel"));
    hud_->setAlignment(Qt::AlignCenter);
    hud_->setFixedSize(150, 100);
    hud_->setStyleSheet(QStringLiteral(
        "background-color: rgba(20, 20, 20, 200); color: white; border-radius: 12px; font-size: 14px;"));
    hud_->hide();

    toast_->setObjectName(QStringLiteral("toast"));
    toast_->setAlignment(Qt::AlignCenter);
    toast_->setStyleSheet(QStringLiteral(
        "background-color: rgba(30, 30, 30, 210); color: white; border-radius: 8px; padding: 8px 16px;"));
    toast_->setAccessibleName(tr("Notification"));
    toast_->hide();
    toastTimer_->setSingleShot(true);
    connect(toastTimer_, &QTimer::timeout, toast_, &QWidget::hide);

    connect(exit_, &QPushButton::clicked, this, &ClassroomView::exitRequested);
}

void ClassroomView::setStatusText(const QString& text) { status_->setText(text); }
QString ClassroomView::statusText() const { return status_->text(); }

void ClassroomView::showHud(const QString& text) {
    hud_->setText(text);
    hud_->setAccessibleName(text);
    placeOverlays();
    hud_->show();
    hud_->raise();
}

void ClassroomView::closeHud() { hud_->hide(); }
bool ClassroomView::isHudShown() const { return !hud_->isHidden(); }
QString ClassroomView::hudText() const { return hud_->text(); }

void ClassroomView::setParticipants(const QStringList& names) {
    participants_->clear();
    participants_->addItems(names);
}

QStringList ClassroomView::participantNames() const {
    QStringList names;
    for (int i = 0; i < participants_->count(); ++i) names << participants_->item(i)->text();
    return names;
}

void ClassroomView::showToast(const QString& text, double seconds) {
    toast_->setText(text);
    toast_->adjustSize();
    placeOverlays();
    toast_->show();
    toast_->raise();
    toastTimer_->start(static_cast<int>(seconds * 1000));
}

QString ClassroomView::toastText() const { return toast_->isHidden() ? QString() : toast_->text(); }

void ClassroomView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeOverlays();
}

void ClassroomView::placeOverlays() {
    hud_->move((width() - hud_->width()) / 2, (height() - hud_->height()) / 2);
    toast_->move((width() - toast_->width()) / 2, height() - toast_->height() - 40);
}

}  // namespace veltrin
