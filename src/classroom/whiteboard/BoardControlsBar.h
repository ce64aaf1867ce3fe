#pragma once

#include <cstdint>

#include <QWidget>

class QComboBox;
class QToolBar;
class QToolButton;

namespace veltrin {

namespace wb {
class BoardList;
}

// The whiteboard holder's top bar: the board selector and the controls that act on the board set
// (new board, screenshot, clip-art, markup, rotation, scale, removal, export). It only shows state
// and reports the user's choices; the whiteboard feature decides what they do.
class BoardControlsBar final : public QWidget {
    Q_OBJECT

public:
    // Steps the rotate controls carry (rotate left turns back one).
    static constexpr std::int32_t kRotateLeftStep = -1;
    static constexpr std::int32_t kRotateRightStep = 1;

    explicit BoardControlsBar(QWidget* parent = nullptr);

    // Refills the selector; the item of `selectedTag` is chosen without reporting a choice.
    void setBoards(const wb::BoardList& list, std::int32_t selectedTag);
    void setMarkupImage(const QString& imageName);
    // The control of `chosenType` (0 actual size, 1 fit board, 2 fit width) is disabled.
    void setScaleControls(std::int32_t chosenType);
    // Playback shows boards only: no markup or rotate controls, no selector, nothing that edits.
    void setPlayback(bool playback);
    // The controls that change the board for everybody follow the whiteboard permission.
    void setEditingAllowed(bool allowed);

    QComboBox* selector() const { return selector_; }
    QToolButton* newBoardButton() const { return newBoard_; }
    QToolButton* markupButton() const { return markup_; }
    QToolButton* scaleButton(std::int32_t type) const;
    QToolButton* rotateLeftButton() const { return rotateLeft_; }
    QToolButton* rotateRightButton() const { return rotateRight_; }
    QToolButton* screenshotButton() const { return screenshot_; }
    QToolButton* clipArtButton() const { return clipArt_; }
    QToolButton* removeBoardButton() const { return removeBoard_; }
    QToolButton* removeMarkupButton() const { return removeMarkup_; }
    QToolButton* exportAllButton() const { return exportAll_; }
    const QString& markupImage() const { return markupImage_; }

signals:
    void boardChosen(std::int32_t tag);
    void newBoardRequested();
    void markupToggled();
    void rotateRequested(std::int32_t step);
    void scaleChosen(std::int32_t type);
    void screenshotRequested();
    void clipArtToggled();
    void removeBoardRequested();
    void removeMarkupRequested();
    void exportAllRequested();

private:
    QToolButton* addButton(const QString& text, const QString& tip);

    QComboBox* selector_;
    // Holds the buttons; in a narrow window the ones that do not fit move behind its extension arrow.
    QToolBar* buttons_;
    QToolButton* newBoard_;
    QToolButton* screenshot_;
    QToolButton* clipArt_;
    QToolButton* markup_;
    QToolButton* rotateLeft_;
    QToolButton* rotateRight_;
    QToolButton* scale_[3];
    QToolButton* removeMarkup_;
    QToolButton* removeBoard_;
    QToolButton* exportAll_;
    QString markupImage_;
    bool filling_ = false;
};

}  // namespace veltrin
