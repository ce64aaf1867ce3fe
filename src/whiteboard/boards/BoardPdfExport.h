#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include "whiteboard/PaintObjectList.h"
#include "whiteboard/boards/BoardState.h"

namespace veltrin::wb {

// PDF documents of boards: one 1024 x 768 point page per board, the board fitted into the page
// and drawn by the board renderer.
class BoardPdfExport {
public:
    BoardPdfExport() = delete;

    static constexpr int kPageWidth = 1024;
    static constexpr int kPageHeight = 768;
    static QString title() { return QStringLiteral("Veltrin Whiteboard Set"); }
    static QString creator() { return QStringLiteral("Veltrin 8"); }

    static bool exportBoard(const QString& pdfPath, const BoardState& board, const PaintObjectList& objects);
    // Each board file in the order given, read into a fresh off-screen canvas. Files that cannot
    // be read are left out; false when no page could be written or the PDF cannot be created.
    static bool exportBoardFiles(const QString& pdfPath, const QStringList& boardFiles);

    // What one page shows, as an image of the page's size (for previews and comparison).
    static QImage renderPage(const BoardState& board, const PaintObjectList& objects);
};

}  // namespace veltrin::wb
