#include "whiteboard/boards/BoardSet.h"

#include "whiteboard/ImageCodec.h"
#include "whiteboard/PaintObjectRenderer.h"
#include "whiteboard/boards/BoardPdfExport.h"
#include "whiteboard/boards/BoardRules.h"
#include "wire/Log.h"

#include <QFile>

namespace veltrin::wb {

namespace {

constexpr std::int32_t kActiveBoardRequest = 81;

const BoardAlert kRemoveAllAlert{
    "Remove all whiteboards?",
    "You are about to delete ALL whiteboards. This action cannot be undone.\n\nPlease confirm.",
    {"Delete", "Cancel"}};
const BoardAlert kRemoveDefaultRefused{"Action not possible.", "You may not delete the default whiteboard.", {"Ok"}};
const BoardAlert kRemoveBoardAlert{
    "Remove whiteboard?",
    "You are about to delete this whiteboard. This action cannot be undone.\n\nPlease confirm.",
    {"Delete", "Cancel"}};
const BoardAlert kRemoveMarkupAlert{"Remove markup and objects?",
                                    "You are about to erase all markup and objects from this whiteboard.\n\nIf you "
                                    "want to continue please click Yes, otherwise please click No.",
                                    {"Yes", "No"}};

BoardColor boardColor(const QColor& c) { return {c.redF(), c.greenF(), c.blueF()}; }

}  // namespace

BoardSet::BoardSet(BoardSetDelegate& delegate, BoardFiles files) : delegate_(delegate), files_(std::move(files)) {}

void BoardSet::startSession() {
    // Files left by an earlier session would turn up in this one's export of all boards.
    files_.removeAll();
    list_.clear();
    board_ = BoardState();
    objects_->clear();
    objects_->setBoardIndex(board_.Index);
    storedScaleType_ = kFitBoard;
    scaleType_ = kFitBoard;
    myBoardIndex_ = currentBoardIndex_ = board_.Index;
    delegate_.setScaleControls(kFitBoard);
    listChanged();
}

void BoardSet::sendJoinRequests() {
    if (!connection_) return;
    connection_->send_LoadServerBoards(true);
    connection_->send_SimpleCommand(kActiveBoardRequest);
    connection_->send_GetBoardView();
}

void BoardSet::listChanged() { delegate_.boardListChanged(list_, myBoardIndex_); }

void BoardSet::storeCanvas() { files_.store(board_, *objects_); }

// ---- received commands

BoardReadResult BoardSet::processSingleBoard(InputStream& is, bool saveToFile, bool doShowIt) {
    return finishSingleBoard(BoardSnapshot::readFromStream(is, true, board_, *objects_), saveToFile, doShowIt);
}

BoardReadResult BoardSet::processSingleBoard(const TBoardSnapshot& snapshot, bool saveToFile, bool doShowIt) {
    return finishSingleBoard(BoardSnapshot::apply(snapshot, board_, *objects_), saveToFile, doShowIt);
}

BoardReadResult BoardSet::finishSingleBoard(const BoardReadResult& result, bool saveToFile, bool doShowIt) {
    // A snapshot that did not arrive whole names no board worth choosing.
    if (saveToFile) storeCanvas();
    if (result.complete() && list_.add(board_.Title, board_.Index)) listChanged();
    if (doShowIt) {
        displayWhiteboard();
        delegate_.blinkWhiteboardView();
    } else {
        delegate_.repaintCanvas();
    }
    return result;
}

std::size_t BoardSet::loadServerBoards(std::span<const std::uint8_t> payload) {
    MemoryInputStream in(payload);
    std::size_t consumed = 0;
    std::size_t boards = 0;
    while (consumed < payload.size()) {
        const BoardReadResult result = processSingleBoard(in, !live_, false);
        // A cut-off board is shown as far as it came, but nothing after it can be framed.
        if (!result.complete() || result.consumed == 0) break;
        consumed += result.consumed;
        ++boards;
    }
    return boards;
}

void BoardSet::loadServerBoard(const TBoardSnapshot& snapshot) { processSingleBoard(snapshot, !live_, false); }

void BoardSet::loadSingleBoard(const TBoardSnapshot& snapshot) { processSingleBoard(snapshot, true, true); }

void BoardSet::createXBoard(const TNewBoard& created, std::int32_t fromUid) {
    BoardSnapshot::apply(created, board_, *objects_);
    storeCanvas();
    if (list_.add(board_.Title, board_.Index)) listChanged();
    displayWhiteboard();
    delegate_.blinkWhiteboardView();
    if (connection_) connection_->send_ContentDoneToUid(fromUid);
}

void BoardSet::switchToBoard(std::int32_t index) {
    currentBoardIndex_ = myBoardIndex_ = index;
    if (live_) {
        if (!connection_) return;
        // The board being left is kept in its file; the one asked for arrives as a snapshot.
        storeCanvas();
        connection_->send_LoadSingleBoard(index);
        return;
    }
    if (!files_.exists(index)) {
        logf("WB with Index %d does not exist.", index);
        return;
    }
    scaleType_ = storedScaleType_;
    files_.load(index, board_, *objects_);
    readOnly_ = true;
    displayWhiteboard();
}

void BoardSet::deleteBoardFromList(std::int32_t index) {
    // The files of removed boards go too, so that an export of all boards shows only those left.
    const std::vector<BoardList::Item> before = list_.items();
    list_.remove(index);
    for (const BoardList::Item& item : before) {
        if (!list_.contains(item.tag) && item.tag != myBoardIndex_) QFile::remove(files_.pathFor(item.tag));
    }
    listChanged();
}

void BoardSet::setBoardRotation(std::int32_t boardIndex, std::int32_t imageType) {
    if (boardIndex != myBoardIndex_) return;
    applyImageType(imageType);
    delegate_.blinkWhiteboardView();
}

void BoardSet::applyImageType(std::int32_t imageType) {
    QImage image = board_.BackgroundImage;
    if (!image.isNull()) {
        image = PaintObjectRenderer::rotateBackground(image, BoardRules::inverseRotationIndex(board_.rotationIndex()));
        image = PaintObjectRenderer::rotateBackground(image, (imageType >> 8) & 0xff);
        board_.OriginalW = image.width();
        board_.OriginalH = image.height();
        board_.setBackground(std::move(image));
    }
    board_.ImageType = imageType;
    delegate_.repaintCanvas();
}

void BoardSet::clearWhiteboard(std::int32_t boardIndex, std::int32_t clearType) {
    if (boardIndex != myBoardIndex_) return;
    if (clearType == 2) {
        objects_->clear();
    } else if (clearType == 0 || clearType == 1) {
        board_.FMarkupVisible = clearType == 1;
        reportMarkupStatus();
    }
    delegate_.repaintCanvas();
    delegate_.blinkWhiteboardView();
}

void BoardSet::pointer(std::int32_t boardIndex, std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex) {
    if (boardIndex == myBoardIndex_) delegate_.showPointer(x, y, show, pointerIndex);
}

void BoardSet::slideAnswer(std::int32_t result) {
    if (result != 0) delegate_.addErrorMessage("Slide not found.");
}

void BoardSet::displayWhiteboard() {
    delegate_.repaintCanvas();
    readOnly_ = !live_ || !boardAllowed_;
    currentBoardIndex_ = myBoardIndex_ = board_.Index;
    listChanged();
    delegate_.setMarkupButtonImage(BoardRules::markupButtonImage(board_.FMarkupVisible));
    delegate_.displayWhiteboard(readOnly_);
}

void BoardSet::reportMarkupStatus() {
    delegate_.setMarkupButtonImage(BoardRules::markupButtonImage(board_.FMarkupVisible));
    delegate_.showToast(board_.FMarkupVisible ? "Markup is visible." : "Markup hidden by host.", 1);
}

// ---- user actions

void BoardSet::rotate(std::int32_t step) {
    if (!mayDraw()) return;
    if (!board_.FHasBgImage) {
        delegate_.showToast("Nothing to rotate. This whiteboard has no background slide on it.", 2);
        return;
    }
    const std::int32_t next = BoardRules::nextRotationIndex(board_.rotationIndex(), step);
    // The turn happens when the server's answer arrives, for everybody at once.
    if (connection_) connection_->send_RotateWhiteboard(board_.Index, BoardRules::imageTypeWithRotation(board_.ImageType, next));
}

void BoardSet::scale(std::int32_t tag) {
    scaleType_ = storedScaleType_ = tag;
    delegate_.repaintCanvas();
    if (tag >= kNoScaling && tag <= kFitWidth) delegate_.setScaleControls(tag);
}

void BoardSet::toggleMarkup() {
    if (!mayDraw()) return;
    const bool visible = board_.FMarkupVisible;
    if (connection_) connection_->send_ClearWhiteboard(board_.Index, visible ? 0 : 1);
    board_.FMarkupVisible = !visible;
    reportMarkupStatus();
    delegate_.repaintCanvas();
}

void BoardSet::removeAllBoards() {
    if (userType_ == 0) return;
    if (!delegate_.runAlert(kRemoveAllAlert)) return;
    if (connection_) connection_->send_RemoveWhiteboard(-1, 1);
}

void BoardSet::removeThisBoard() {
    if (!mayDraw()) return;
    if (board_.Index == 1) {
        delegate_.runAlert(kRemoveDefaultRefused);
        return;
    }
    if (!delegate_.runAlert(kRemoveBoardAlert)) return;
    if (connection_) connection_->send_RemoveWhiteboard(board_.Index, 1);
}

void BoardSet::removeMarkup() {
    if (!mayDraw()) return;
    if (!delegate_.runAlert(kRemoveMarkupAlert)) return;
    if (connection_) connection_->send_ClearWhiteboard(board_.Index, 2);
    objects_->clear();
    delegate_.repaintCanvas();
}

void BoardSet::chooseBoard(std::int32_t tag) {
    if (!live_) return;
    // The switch itself waits for the server's 82, which everybody gets.
    if ((userType_ > 0 || boardAllowed_) && connection_) connection_->send_SetActiveBoard(tag);
}

bool BoardSet::createBoard(const NewBoardRequest& request) {
    std::int32_t width = request.width;
    std::int32_t height = request.height;
    if (!request.image.isNull()) {
        width = request.image.width();
        height = request.image.height();
    }
    if (width == 0 || height == 0 || !connection_) return false;
    const Bytes jpeg = request.image.isNull() ? Bytes() : ImageCodec::encode(request.image, ImageCodec::kJpeg);
    connection_->send_CreateXBoard(request.title, width, height, boardColor(request.color), true, jpeg);
    return true;
}

void BoardSet::placeScreenshot(const QImage& capture, bool onNewBoard, const std::string& title) {
    if (!mayDraw() || capture.isNull()) return;
    if (onNewBoard) {
        createBoard({title, capture.width(), capture.height(), Qt::white, capture});
        return;
    }
    const auto placement = BoardRules::placeScreenshot(board_.OriginalW, capture.size());
    if (!placement) return;
    const QSize size = placement->size.toSize().expandedTo(QSize(1, 1));
    delegate_.placeImageObject(capture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                               QPointF(placement->origin));
}

void BoardSet::addClipArt(const QImage& picture) {
    if (!mayDraw() || picture.isNull()) return;
    const PaintObjectPtr selected = objects_->selected();
    delegate_.placeImageObject(picture, QPointF(BoardRules::clipArtPosition(board_.OriginalW, picture.width(),
                                                                             selected.get())));
}

bool BoardSet::exportCurrentBoard(const QString& pdfPath) {
    return BoardPdfExport::exportBoard(pdfPath, board_, *objects_);
}

bool BoardSet::exportAllBoards(const QString& pdfPath) {
    storeCanvas();
    const bool ok = BoardPdfExport::exportBoardFiles(pdfPath, files_.listFiles());
    if (ok) delegate_.showToast("PDF File Ready", 2);
    return ok;
}

}  // namespace veltrin::wb
