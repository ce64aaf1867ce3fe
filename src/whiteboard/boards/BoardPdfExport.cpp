#include "whiteboard/boards/BoardPdfExport.h"

#include <memory>

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "whiteboard/BoardRenderer.h"
#include "whiteboard/boards/BoardFiles.h"

namespace veltrin::wb {

namespace {

constexpr QSize kPage(BoardPdfExport::kPageWidth, BoardPdfExport::kPageHeight);

std::unique_ptr<QPdfWriter> makeWriter(const QString& path) {
    auto writer = std::make_unique<QPdfWriter>(path);
    writer->setTitle(BoardPdfExport::title());
    writer->setCreator(BoardPdfExport::creator());
    // At 72 dots per inch one device pixel is one point, so the page is drawn in its own units.
    writer->setResolution(72);
    writer->setPageLayout(QPageLayout(QPageSize(QSizeF(kPage), QPageSize::Point), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    return writer;
}

void paintPage(QPainter& painter, const BoardState& board, const PaintObjectList& objects) {
    BoardRenderer::paintDirect(painter, kPage, board.appearance(kFitBoard), objects, nullptr);
}

}  // namespace

QImage BoardPdfExport::renderPage(const BoardState& board, const PaintObjectList& objects) {
    QImage image(kPage, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, board, objects);
    painter.end();
    return image;
}

bool BoardPdfExport::exportBoard(const QString& pdfPath, const BoardState& board, const PaintObjectList& objects) {
    auto writer = makeWriter(pdfPath);
    QPainter painter;
    if (!painter.begin(writer.get())) return false;
    paintPage(painter, board, objects);
    return painter.end();
}

bool BoardPdfExport::exportBoardFiles(const QString& pdfPath, const QStringList& boardFiles) {
    auto writer = makeWriter(pdfPath);
    QPainter painter;
    bool pageOpen = false;
    for (const QString& path : boardFiles) {
        BoardState board;
        PaintObjectList objects;
        if (!BoardFiles::loadFile(path, board, objects)) continue;
        if (!pageOpen) {
            if (!painter.begin(writer.get())) return false;
            pageOpen = true;
        } else {
            writer->newPage();
        }
        paintPage(painter, board, objects);
    }
    return pageOpen && painter.end();
}

}  // namespace veltrin::wb
