// The board set side of the whiteboard feature: the room's board commands, the board controls and
// their sheets, and what the board set asks of the window.

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/core/UserInterface.h"
#include "classroom/whiteboard/BoardControlsBar.h"
#include "classroom/whiteboard/WhiteboardFeature.h"
#include "platform/screen/ScreenCapture.h"
#include "whiteboard/TActivePaintBox.h"
#include "whiteboard/boards/BoardRules.h"
#include "whiteboard/boards/ClipArtPicker.h"
#include "whiteboard/boards/NewWhiteboardPanel.h"
#include "wire/Log.h"

namespace veltrin {

using namespace wb;

namespace {

constexpr int kScreenshotWaitMs = 10000;
// Long enough for the window manager to take a minimised window off the screen.
constexpr int kHiddenWindowSettleMs = 600;

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

BoardSet& WhiteboardFeature::syncedBoards() {
    boards_->setConnection(links_.connection ? links_.connection() : nullptr);
    boards_->setLive(!links_.live || links_.live());
    boards_->setBoardAllowed(links_.boardAllowed && links_.boardAllowed());
    boards_->setUserType(links_.userType ? links_.userType() : 0);
    return *boards_;
}

void WhiteboardFeature::showBoardOnCanvas() {
    if (!canvas_) return;
    BoardAppearance& shown = canvas_->appearance();
    BoardAppearance next = boards_->board().appearance(boards_->scaleType());
    next.dxOfset = shown.dxOfset;
    next.dyOfset = shown.dyOfset;
    const bool newScale = shown.scaleType != next.scaleType;
    shown = next;
    // A new scale type starts from the unpanned board.
    if (newScale) canvas_->setScaleType(next.scaleType);
    canvas_->update();
}

// ---- the room's board commands

void WhiteboardFeature::Safe_SwitchToBoard(std::int32_t boardIndex) { syncedBoards().switchToBoard(boardIndex); }

void WhiteboardFeature::Safe_DeleteBoardFromList(std::int32_t boardIndex) {
    syncedBoards().deleteBoardFromList(boardIndex);
}

void WhiteboardFeature::Safe_LoadServerBoard(const TBoardSnapshot& board) { syncedBoards().loadServerBoard(board); }

void WhiteboardFeature::Safe_LoadSingleBoard(const TBoardSnapshot& board) { syncedBoards().loadSingleBoard(board); }

void WhiteboardFeature::Safe_CreateXBoard(const TNewBoard& board, std::int32_t fromUid) {
    syncedBoards().createXBoard(board, fromUid);
}

void WhiteboardFeature::Safe_SetBoardRotation(std::int32_t boardIndex, std::int32_t imageType) {
    syncedBoards().setBoardRotation(boardIndex, imageType);
}

void WhiteboardFeature::Safe_ClearWhiteboard(std::int32_t boardIndex, std::int32_t clearType) {
    syncedBoards().clearWhiteboard(boardIndex, clearType);
}

void WhiteboardFeature::Safe_SlideAnswer(std::int32_t result) { syncedBoards().slideAnswer(result); }

// ---- board actions

void WhiteboardFeature::WBComboChanged(std::int32_t tag) { syncedBoards().chooseBoard(tag); }

void WhiteboardFeature::acWBScale(std::int32_t tag) {
    syncedBoards().scale(tag);
    // Choosing a scale starts from the unpanned board even when the type stays.
    if (canvas_) canvas_->setScaleType(boards_->scaleType());
}

void WhiteboardFeature::acwbToggleMarkup() {
    if (canvas_) syncedBoards().toggleMarkup();
}

void WhiteboardFeature::acWBRotate(std::int32_t step) {
    if (canvas_) syncedBoards().rotate(step);
}

void WhiteboardFeature::wbacRemoveAllBoards() {
    if (canvas_) syncedBoards().removeAllBoards();
}

void WhiteboardFeature::wbacRemoveWhiteboard() {
    if (canvas_) syncedBoards().removeThisBoard();
}

void WhiteboardFeature::wbacRemoveMarkup() {
    if (canvas_) syncedBoards().removeMarkup();
}

void WhiteboardFeature::wbacNewWhiteboard() {
    if (!canvas_) return;
    if (newBoardPanel_) {
        newBoardPanel_->raise();
        return;
    }
    auto* panel = new NewWhiteboardPanel(canvas_->window());
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowModality(Qt::WindowModal);
    newBoardPanel_ = panel;
    connect(panel, &QDialog::accepted, this, [this, panel] { acWhiteboardCreate(panel->request()); });
    panel->open();
}

bool WhiteboardFeature::acWhiteboardCreate(const NewBoardRequest& request) {
    return syncedBoards().createBoard(request);
}

void WhiteboardFeature::wbacScreenShot() {
    if (!canvas_ || !(links_.boardAllowed && links_.boardAllowed())) return;
    if (screenshotPanel_) {
        screenshotPanel_->raise();
        return;
    }
    displays_ = platform::ScreenCapture::listDisplays();
    if (displays_.empty()) {
        logLine("Error loading the displays");
        return;
    }
    auto* panel = new ScreenshotPanel(displays_, canvas_->window());
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowModality(Qt::WindowModal);
    screenshotPanel_ = panel;
    connect(panel, &QDialog::accepted, this, [this, panel] { acScreenShotOK(panel->options()); });
    panel->open();
}

void WhiteboardFeature::acScreenShotOK(const ScreenshotOptions& options) {
    if (screenshotPending_) return;
    if (displays_.empty()) displays_ = platform::ScreenCapture::listDisplays();
    if (options.display < 0 || std::size_t(options.display) >= displays_.size()) return;
    const platform::DisplayInfo display = displays_[std::size_t(options.display)];
    QPointer<QWidget> window = canvas_ ? canvas_->window() : nullptr;
    const bool hide = options.hideWindow && window && window->isVisible();
    if (hide) window->showMinimized();
    screenshotPending_ = true;
    const int delay = options.waitTenSeconds ? kScreenshotWaitMs : hide ? kHiddenWindowSettleMs : 0;
    QTimer::singleShot(delay, this, [this, display, options, window, hide] {
        const std::optional<QImage> capture = platform::ScreenCapture::captureDisplay(display);
        if (hide && window) window->showNormal();
        screenshotPending_ = false;
        if (!capture) {
            logf("screenshot of %s failed", qPrintable(display.name));
            return;
        }
        syncedBoards().placeScreenshot(*capture, options.onNewBoard, options.title.toStdString());
    });
}

void WhiteboardFeature::wbacClipart() {
    if (!canvas_) return;
    if (clipArtWindow_ && clipArtWindow_->isVisible()) {
        clipArtWindow_->hide();
        if (controls_) controls_->clipArtButton()->setChecked(false);
        return;
    }
    if (!clipArtWindow_) {
        auto* window = new QWidget(canvas_->window(), Qt::Tool);
        window->setObjectName(QStringLiteral("clipArtWindow"));
        window->setWindowTitle(tr("Clip-Art"));
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        clipArtPicker_ = new ClipArtPicker(window);
        layout->addWidget(clipArtPicker_);
        window->resize(260, 480);
        connect(clipArtPicker_, &ClipArtPicker::pictureChosen, this,
                [this](const QImage& picture) { wbacAddClipartItem(picture); });
        clipArtWindow_ = window;
    }
    placeClipArtWindow();
    clipArtWindow_->show();
    if (controls_) controls_->clipArtButton()->setChecked(true);
}

void WhiteboardFeature::placeClipArtWindow() {
    const QWidget* main = canvas_->window();
    const QRect frame = main->frameGeometry();
    const QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : frame;
    const int width = clipArtWindow_->frameGeometry().width();
    int x = frame.right() + 1;
    if (x + width > available.right() + 1) x = frame.right() + 1 - width;
    clipArtWindow_->move(x, frame.top());
}

void WhiteboardFeature::wbacAddClipartItem(const QImage& picture) {
    if (canvas_) syncedBoards().addClipArt(picture);
}

bool WhiteboardFeature::exportCurrentBoard() {
    if (!canvas_ || !canvas_->isVisible() || !links_.ui) return false;
    const std::optional<QString> path = links_.ui->selectFileToSave({QStringLiteral("pdf")});
    if (!path) return false;
    const bool ok = boards_->exportCurrentBoard(*path);
    if (!ok) logf("failed to export the whiteboard to %s", qPrintable(*path));
    return ok;
}

bool WhiteboardFeature::ExportAllBoardsToPDFFile() {
    if (!canvas_ || !links_.ui) return false;
    const std::optional<QString> path = links_.ui->selectFileToSave({QStringLiteral("pdf")});
    if (!path) return false;
    const bool ok = boards_->exportAllBoards(*path);
    if (!ok) logf("failed to export the whiteboards to %s", qPrintable(*path));
    return ok;
}

// ---- what the board set asks of the window

bool WhiteboardFeature::runAlert(const BoardAlert& alert) {
    if (!links_.ui) return false;
    QStringList buttons;
    for (const std::string& b : alert.buttons) buttons << qs(b);
    return links_.ui->showMessage(qs(alert.message), qs(alert.informativeText), buttons, MessageStyle::Warning) == 0;
}

void WhiteboardFeature::showToast(const std::string& text, double seconds) {
    if (links_.toast) links_.toast(text, seconds);
}

void WhiteboardFeature::addErrorMessage(const std::string& text) {
    if (links_.errorMessage) links_.errorMessage(text);
}

void WhiteboardFeature::boardListChanged(const BoardList& list, std::int32_t selectedTag) {
    if (controls_) controls_->setBoards(list, selectedTag);
}

void WhiteboardFeature::repaintCanvas() { showBoardOnCanvas(); }

void WhiteboardFeature::displayWhiteboard(bool readOnly) {
    ++displayCount_;
    showBoardOnCanvas();
    if (canvas_ && canvas_->ReadOnly() != readOnly) canvas_->SetReadOnly(readOnly);
    if (links_.showWhiteboardView) links_.showWhiteboardView();
}

void WhiteboardFeature::blinkWhiteboardView() {
    if (links_.blinkWhiteboardView) links_.blinkWhiteboardView();
}

void WhiteboardFeature::setMarkupButtonImage(const std::string& imageName) {
    if (controls_) controls_->setMarkupImage(qs(imageName));
}

void WhiteboardFeature::setScaleControls(std::int32_t chosenType) {
    if (controls_) controls_->setScaleControls(chosenType);
}

void WhiteboardFeature::showPointer(std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex) {
    if (canvas_) canvas_->showPointerAt(x, y, show, pointerIndex);
}

void WhiteboardFeature::placeImageObject(const QImage& picture, const QPointF& boardPoint) {
    if (canvas_) canvas_->interaction().PlaceImageObject(picture, boardPoint);
}

}  // namespace veltrin
