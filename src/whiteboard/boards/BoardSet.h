#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include <QColor>
#include <QImage>
#include <QString>

#include "session/IncomingRecords.h"
#include "session/OutgoingCommands.h"
#include "whiteboard/PaintObjectList.h"
#include "whiteboard/boards/BoardFiles.h"
#include "whiteboard/boards/BoardList.h"
#include "whiteboard/boards/BoardSetDelegate.h"
#include "whiteboard/boards/BoardSnapshot.h"
#include "whiteboard/boards/BoardState.h"

namespace veltrin::wb {

// What the user chose in the new-whiteboard panel.
struct NewBoardRequest {
    std::string title;
    std::int32_t width = 0;
    std::int32_t height = 0;
    QColor color = Qt::white;
    QImage image;  // null for a plain board
};

// The whiteboard set as one participant sees it: the board shown (its state and objects, which the
// canvas draws), the list of boards, the scale and markup controls, the board files, and every
// board command in both directions. No widgets: what the user sees goes through the delegate and
// what goes to the server through the outgoing commands. Main thread only; the session layer
// reaches it through the controller's Safe_ entry points.
class BoardSet {
public:
    // `files` is where board files live (the temporary folder in a session).
    BoardSet(BoardSetDelegate& delegate, BoardFiles files);

    // ---- session
    // Nothing is sent while no connection is set (e.g. in playback).
    void setConnection(OutgoingCommands* connection) { connection_ = connection; }
    void setLive(bool live) { live_ = live; }
    void setBoardAllowed(bool allowed) { boardAllowed_ = allowed; }
    void setUserType(std::int32_t userType) { userType_ = userType; }
    bool isLive() const { return live_; }

    // A new session: empty list, scale type 1 stored, the canvas reset.
    void startSession();
    // The board requests of joining a room: 79 with 1, 81, 119 with 0.
    void sendJoinRequests();

    // ---- the canvas
    BoardState& board() { return board_; }
    const BoardState& board() const { return board_; }
    PaintObjectList& objects() { return *objects_; }
    const PaintObjectList& objects() const { return *objects_; }
    // The same list, for the canvas that draws and edits it.
    const std::shared_ptr<PaintObjectList>& objectList() const { return objects_; }
    std::int32_t scaleType() const { return scaleType_; }
    std::int32_t storedScaleType() const { return storedScaleType_; }
    bool readOnly() const { return readOnly_; }
    std::int32_t myBoardIndex() const { return myBoardIndex_; }
    std::int32_t currentBoardIndex() const { return currentBoardIndex_; }
    const BoardList& list() const { return list_; }
    const BoardFiles& files() const { return files_; }

    // ---- received commands
    // One snapshot: read into the canvas with headers, stored to its file when saving, listed,
    // shown when asked. Answers the bytes it took.
    BoardReadResult processSingleBoard(InputStream& is, bool saveToFile, bool doShowIt);
    BoardReadResult processSingleBoard(const TBoardSnapshot& snapshot, bool saveToFile, bool doShowIt);
    // A whole answer to 79: snapshots until their counts add up to the payload; one that is cut
    // off or impossible ends the answer. Answers the number of boards taken.
    std::size_t loadServerBoards(std::span<const std::uint8_t> payload);
    void loadServerBoard(const TBoardSnapshot& snapshot);  // one of 79's, as the session splits them
    void loadSingleBoard(const TBoardSnapshot& snapshot);  // 159
    void createXBoard(const TNewBoard& created, std::int32_t fromUid);  // 156
    void switchToBoard(std::int32_t index);                              // 81, 82, and before 157
    void deleteBoardFromList(std::int32_t index);                        // 157
    void setBoardRotation(std::int32_t boardIndex, std::int32_t imageType);  // 165
    void clearWhiteboard(std::int32_t boardIndex, std::int32_t clearType);   // 80
    void pointer(std::int32_t boardIndex, std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex);  // 56
    void slideAnswer(std::int32_t result);                                  // 160
    void displayWhiteboard();

    // ---- user actions
    void rotate(std::int32_t step);
    void scale(std::int32_t tag);
    void toggleMarkup();
    void removeAllBoards();
    void removeThisBoard();
    void removeMarkup();
    void chooseBoard(std::int32_t tag);
    // Answers false (and sends nothing) for a board without area.
    bool createBoard(const NewBoardRequest& request);
    void placeScreenshot(const QImage& capture, bool onNewBoard, const std::string& title);
    void addClipArt(const QImage& picture);
    // The board shown as one PDF page; the board set with every stored board, one page each.
    bool exportCurrentBoard(const QString& pdfPath);
    bool exportAllBoards(const QString& pdfPath);

    // The markup status shown on the markup button and as a toast.
    void reportMarkupStatus();

private:
    // What every received snapshot does once it has been read: file, list and display.
    BoardReadResult finishSingleBoard(const BoardReadResult& result, bool saveToFile, bool doShowIt);
    bool mayDraw() const { return boardAllowed_; }
    void storeCanvas();
    void applyImageType(std::int32_t imageType);
    void listChanged();

    BoardSetDelegate& delegate_;
    BoardFiles files_;
    OutgoingCommands* connection_ = nullptr;
    bool live_ = true;
    bool boardAllowed_ = false;
    std::int32_t userType_ = 0;

    BoardState board_;
    std::shared_ptr<PaintObjectList> objects_ = std::make_shared<PaintObjectList>(1);
    std::int32_t scaleType_ = 1;
    std::int32_t storedScaleType_ = 1;
    bool readOnly_ = true;
    std::int32_t myBoardIndex_ = 1;
    std::int32_t currentBoardIndex_ = 1;
    BoardList list_;
};

}  // namespace veltrin::wb
