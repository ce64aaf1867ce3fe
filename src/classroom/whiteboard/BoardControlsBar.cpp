#include "classroom/whiteboard/BoardControlsBar.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>

#include "app/core/Resources.h"
#include "whiteboard/boards/BoardList.h"

namespace veltrin {

namespace {

constexpr int kBarHeight = 40;

}  // namespace

BoardControlsBar::BoardControlsBar(QWidget* parent)
    : QWidget(parent), selector_(new QComboBox(this)), buttons_(new QToolBar(this)) {
    setObjectName(QStringLiteral("whiteboardTopBar"));
    setFixedHeight(kBarHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    selector_->setObjectName(QStringLiteral("cbWhiteboards"));
    selector_->setMinimumWidth(140);
    selector_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    layout->addWidget(selector_);
    buttons_->setObjectName(QStringLiteral("whiteboardTopButtons"));
    buttons_->setAccessibleName(tr("Whiteboard controls"));
    buttons_->setFloatable(false);
    buttons_->setMovable(false);
    layout->addWidget(buttons_, 1);

    newBoard_ = addButton(tr("New"), tr("New Whiteboard"));
    screenshot_ = addButton(tr("Screenshot"), tr("Screenshot onto the whiteboard"));
    clipArt_ = addButton(tr("Clip-Art"), tr("Clip-art"));
    clipArt_->setCheckable(true);
    markup_ = addButton(tr("Markup"), tr("Show or hide markup"));
    rotateLeft_ = addButton(tr("Rotate Left"), tr("Rotate the background left"));
    rotateRight_ = addButton(tr("Rotate Right"), tr("Rotate the background right"));
    const char* const scaleTexts[3] = {"Actual Size", "Fit All", "Fit Width"};
    for (std::int32_t t = 0; t < 3; ++t) {
        scale_[t] = addButton(tr(scaleTexts[t]), tr(scaleTexts[t]));
        connect(scale_[t], &QToolButton::clicked, this, [this, t] { emit scaleChosen(t); });
    }
    removeMarkup_ = addButton(tr("Erase"), tr("Remove markup and objects"));
    removeBoard_ = addButton(tr("Remove"), tr("Remove this whiteboard"));
    exportAll_ = addButton(tr("PDF"), tr("Export all whiteboards to PDF"));

    connect(selector_, &QComboBox::activated, this, [this](int position) {
        if (!filling_) emit boardChosen(selector_->itemData(position).toInt());
    });
    connect(newBoard_, &QToolButton::clicked, this, &BoardControlsBar::newBoardRequested);
    connect(screenshot_, &QToolButton::clicked, this, &BoardControlsBar::screenshotRequested);
    connect(clipArt_, &QToolButton::clicked, this, &BoardControlsBar::clipArtToggled);
    connect(markup_, &QToolButton::clicked, this, &BoardControlsBar::markupToggled);
    connect(rotateLeft_, &QToolButton::clicked, this, [this] { emit rotateRequested(kRotateLeftStep); });
    connect(rotateRight_, &QToolButton::clicked, this, [this] { emit rotateRequested(kRotateRightStep); });
    connect(removeMarkup_, &QToolButton::clicked, this, &BoardControlsBar::removeMarkupRequested);
    connect(removeBoard_, &QToolButton::clicked, this, &BoardControlsBar::removeBoardRequested);
    connect(exportAll_, &QToolButton::clicked, this, &BoardControlsBar::exportAllRequested);
    setScaleControls(1);
    setMarkupImage(QStringLiteral("tbwb_28x28_markup.png"));
}

QToolButton* BoardControlsBar::addButton(const QString& text, const QString& tip) {
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    buttons_->addWidget(button);
    return button;
}

QToolButton* BoardControlsBar::scaleButton(std::int32_t type) const {
    return type >= 0 && type < 3 ? scale_[type] : nullptr;
}

void BoardControlsBar::setBoards(const wb::BoardList& list, std::int32_t selectedTag) {
    filling_ = true;
    const QSignalBlocker block(selector_);
    selector_->clear();
    for (const wb::BoardList::Item& item : list.items())
        selector_->addItem(QString::fromStdString(item.title), item.tag);
    selector_->setCurrentIndex(selector_->findData(selectedTag));
    filling_ = false;
}

void BoardControlsBar::setMarkupImage(const QString& imageName) {
    markupImage_ = imageName;
    const QString path = resourcePath(ResourceFolder::Icons, imageName);
    // Without the picture the caption says the state.
    if (QFileInfo::exists(path)) {
        markup_->setIcon(QIcon(path));
        markup_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        markup_->setIcon(QIcon());
        markup_->setText(imageName.contains(QStringLiteral("hidden")) ? tr("Markup Hidden") : tr("Markup"));
    }
}

void BoardControlsBar::setScaleControls(std::int32_t chosenType) {
    for (std::int32_t t = 0; t < 3; ++t) scale_[t]->setEnabled(t != chosenType);
}

void BoardControlsBar::setPlayback(bool playback) {
    for (QWidget* w :
         {static_cast<QWidget*>(markup_), static_cast<QWidget*>(rotateLeft_), static_cast<QWidget*>(rotateRight_),
          static_cast<QWidget*>(newBoard_), static_cast<QWidget*>(screenshot_), static_cast<QWidget*>(clipArt_),
          static_cast<QWidget*>(removeMarkup_), static_cast<QWidget*>(removeBoard_)})
        // A widget on a tool bar shows and hides through its action.
        for (QAction* action : buttons_->actions())
            if (buttons_->widgetForAction(action) == w) action->setVisible(!playback);
    selector_->setEnabled(!playback);
}

void BoardControlsBar::setEditingAllowed(bool allowed) {
    for (QToolButton* b :
         {newBoard_, screenshot_, clipArt_, markup_, rotateLeft_, rotateRight_, removeMarkup_, removeBoard_})
        b->setEnabled(allowed);
}

}  // namespace veltrin
