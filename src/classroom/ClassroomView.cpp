#include "ClassroomView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "classroom/Toast.h"
#include "classroom/audio/ClassroomVolumeControls.h"

namespace veltrin {
namespace {

constexpr int kSidePanelMin = 200;
constexpr int kSidePanelMax = 550;

QLabel* placeholder(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: #8a94a6; background: #f4f6fa;"));
    return label;
}

}  // namespace

ClassroomView::ClassroomView(QWidget* parent)
    : QWidget(parent),
      classroomName_(new QLabel(this)),
      sessionTime_(new QLabel(this)),
      status_(new QLabel(this)),
      counters_(new QLabel(this)),
      position_(new QSlider(Qt::Horizontal, this)),
      volumes_(new ClassroomVolumeControls(this)),
      splitter_(new QSplitter(Qt::Horizontal, this)),
      sidePanel_(new QWidget(splitter_)),
      participantsHolder_(new QWidget(sidePanel_)),
      chatHolder_(new QWidget(sidePanel_)),
      pages_(new QStackedWidget(splitter_)),
      whiteboardPage_(new QWidget(pages_)),
      hud_(new QLabel(this)) {
    setObjectName(QStringLiteral("classroomView"));

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("mainToolBar"));
    toolBar->setAccessibleName(tr("Classroom tools"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](ClassroomControl c, const QString& text, const QString& name) {
        toolBar->addWidget(addButton(c, text, name));
    };
    add(ClassroomControl::WhiteboardView, tr("Whiteboard"), tr("Show the whiteboard"));
    add(ClassroomControl::SharedScreenView, tr("Screen"), tr("Show the shared screen"));
    add(ClassroomControl::WebView, tr("Web"), tr("Show the guided web browser"));
    toolBar->addSeparator();
    add(ClassroomControl::Notes, tr("Notes"), tr("Session notes"));
    add(ClassroomControl::Polling, tr("Poll"), tr("Polling"));
    add(ClassroomControl::Breakout, tr("Breakout"), tr("Breakout rooms"));
    add(ClassroomControl::FileLibrary, tr("Library"), tr("File library"));
    add(ClassroomControl::Presentations, tr("Slides"), tr("Presentations"));
    toolBar->addSeparator();
    add(ClassroomControl::MyWebcam, tr("Webcam"), tr("My webcam"));
    add(ClassroomControl::Microphone, tr("Mic"), tr("Microphone"));
    add(ClassroomControl::AudioTest, tr("Audio test"), tr("Audio test"));
    add(ClassroomControl::RecorderStartStop, tr("Record"), tr("Start or stop the recorder"));
    add(ClassroomControl::RecorderPause, tr("Pause"), tr("Pause the recorder"));
    add(ClassroomControl::ClearMotions, tr("Clear hands"), tr("Clear motions"));
    add(ClassroomControl::PlayPause, tr("Play"), tr("Play or pause the recording"));
    positionAction_ = toolBar->addWidget(position_);
    toolBar->addSeparator();
    add(ClassroomControl::FullScreen, tr("Full screen"), tr("Full screen"));
    add(ClassroomControl::Close, tr("Exit"), tr("Exit the session"));

    classroomName_->setObjectName(QStringLiteral("classroomName"));
    classroomName_->setAccessibleName(tr("Classroom name"));
    sessionTime_->setObjectName(QStringLiteral("sessionTime"));
    sessionTime_->setAccessibleName(tr("Session time"));
    status_->setObjectName(QStringLiteral("statusLabel"));
    status_->setAccessibleName(tr("Connection status"));
    counters_->setObjectName(QStringLiteral("counters"));
    counters_->setAccessibleName(tr("Hands and answers"));
    position_->setObjectName(QStringLiteral("positionSlider"));
    position_->setAccessibleName(tr("Playback position"));
    position_->setRange(0, 100);
    position_->setMaximumWidth(200);

    auto* labels = new QHBoxLayout;
    // Keeps the status text off the window's edges.
    labels->setContentsMargins(6, 0, 8, 0);
    labels->addWidget(classroomName_);
    // On the labels' row rather than the tool bar, which overflows on a small window.
    labels->addSpacing(16);
    labels->addWidget(volumes_);
    labels->addStretch(1);
    labels->addWidget(counters_);
    labels->addSpacing(16);
    labels->addWidget(sessionTime_);
    labels->addSpacing(16);
    labels->addWidget(status_);

    auto* participantsLayout = new QVBoxLayout(participantsHolder_);
    participantsLayout->setContentsMargins(0, 0, 0, 0);
    auto* chatLayout = new QVBoxLayout(chatHolder_);
    chatLayout->setContentsMargins(0, 0, 0, 0);
    auto* sideLayout = new QVBoxLayout(sidePanel_);
    sideLayout->setContentsMargins(4, 4, 4, 4);
    sideLayout->addWidget(participantsHolder_, 1);
    sideLayout->addWidget(chatHolder_, 1);
    sidePanel_->setMinimumWidth(kSidePanelMin);
    sidePanel_->setMaximumWidth(kSidePanelMax);
    sidePanel_->setObjectName(QStringLiteral("sidePanel"));

    auto* whiteboardLayout = new QVBoxLayout(whiteboardPage_);
    whiteboardLayout->setContentsMargins(0, 0, 0, 0);
    whiteboardLayout->addWidget(placeholder(tr("Whiteboard"), whiteboardPage_));
    whiteboardPage_->setObjectName(QStringLiteral("whiteboardHolder"));
    pages_->addWidget(whiteboardPage_);
    auto* webPage = placeholder(tr("Guided web browser"), pages_);
    webPage->setObjectName(QStringLiteral("webView"));
    pages_->addWidget(webPage);
    auto* screenPage = placeholder(tr("Shared screen"), pages_);
    screenPage->setObjectName(QStringLiteral("sharedScreenView"));
    pages_->addWidget(screenPage);
    pages_->setObjectName(QStringLiteral("mainArea"));

    splitter_->addWidget(sidePanel_);
    splitter_->addWidget(pages_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, 900});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(toolBar);
    layout->addLayout(labels);
    layout->addWidget(splitter_, 1);

    hud_->setObjectName(QStringLiteral("hudPanel"));
    hud_->setAlignment(Qt::AlignCenter);
    hud_->setFixedSize(150, 100);
    hud_->setStyleSheet(QStringLiteral(
        "background-color: rgba(20, 20, 20, 200); color: white; border-radius: 12px; font-size: 14px;"));
    hud_->hide();

    setPlaybackMode(false);
}

ClassroomView::~ClassroomView() { delete toast_.data(); }

QToolButton* ClassroomView::addButton(ClassroomControl control, const QString& text, const QString& accessibleName) {
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    button->setFocusPolicy(Qt::TabFocus);
    buttons_[static_cast<int>(control)] = button;
    connect(button, &QToolButton::clicked, this, [this, control] {
        if (control == ClassroomControl::Close)
            emit exitRequested();
        else
            emit controlTriggered(control);
    });
    return button;
}

QToolButton* ClassroomView::button(ClassroomControl control) const { return buttons_[static_cast<int>(control)]; }

void ClassroomView::setControlEnabled(ClassroomControl control, bool enabled) { button(control)->setEnabled(enabled); }

void ClassroomView::setControlVisible(ClassroomControl control, bool visible) {
    // Tool bar items hide through their action; a plain hide would leave a gap.
    QToolButton* b = button(control);
    if (auto* bar = qobject_cast<QToolBar*>(b->parentWidget())) {
        for (QAction* a : bar->actions())
            if (bar->widgetForAction(a) == b) a->setVisible(visible);
    } else {
        b->setVisible(visible);
    }
}

void ClassroomView::setPlaybackMode(bool playback) {
    using C = ClassroomControl;
    for (const C c : {C::Microphone, C::Presentations, C::FileLibrary, C::WhiteboardView, C::SharedScreenView, C::WebView,
                      C::MyWebcam, C::Polling, C::Notes, C::Breakout, C::RecorderStartStop, C::ClearMotions})
        setControlVisible(c, !playback);
    setControlVisible(C::PlayPause, playback);
    positionAction_->setVisible(playback);
    status_->setVisible(!playback);
}

void ClassroomView::setStatusText(const QString& text) { status_->setText(text); }
QString ClassroomView::statusText() const { return status_->text(); }
void ClassroomView::setClassroomName(const QString& name) { classroomName_->setText(name); }
void ClassroomView::setSessionTime(const QString& text) { sessionTime_->setText(text); }

void ClassroomView::setCounters(int hands, int yes, int no) {
    counters_->setText(QStringLiteral("Hands: %1   Yes: %2   No: %3").arg(hands).arg(yes).arg(no));
    // Raised hands wait for the moderator: the counters stand out while there are any.
    counters_->setStyleSheet(hands > 0 ? QStringLiteral("background-color: #ffe08a; border-radius: 3px; padding: 0 4px;")
                                       : QString());
}

QString ClassroomView::countersText() const { return counters_->text(); }

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

QWidget* ClassroomView::page(int view) const { return pages_->widget(view); }

void ClassroomView::setWhiteboardCanvas(QWidget* canvas) {
    QLayout* layout = whiteboardPage_->layout();
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    canvas_ = canvas;
    if (canvas != nullptr) layout->addWidget(canvas);
}

void ClassroomView::showPage(int view) {
    if (view >= 0 && view < pages_->count()) pages_->setCurrentIndex(view);
}

int ClassroomView::visiblePage() const { return pages_->currentIndex(); }

void ClassroomView::setFullScreenView(bool on) {
    if (on == fullScreen_) return;
    if (on) {
        storedSplit_ = splitter_->sizes();
        sidePanel_->hide();
    } else {
        sidePanel_->show();
        if (!storedSplit_.isEmpty()) splitter_->setSizes(storedSplit_);
    }
    fullScreen_ = on;
}

void ClassroomView::showToast(const QString& text, double seconds) {
    QWidget* host = window();
    if (!toast_ || toast_->parentWidget() != host) {
        delete toast_.data();
        toast_ = new Toast(host);
    }
    toast_->present(text, seconds);
}

QString ClassroomView::toastText() const { return toast_ && toast_->isPresented() ? toast_->text() : QString(); }

void ClassroomView::blinkControl(ClassroomControl control) { blink(button(control)); }

void ClassroomView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeOverlays();
}

void ClassroomView::placeOverlays() { hud_->move((width() - hud_->width()) / 2, (height() - hud_->height()) / 2); }

}  // namespace veltrin
