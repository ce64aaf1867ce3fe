#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

#include "whiteboard/PaintColor.h"
#include "whiteboard/TPaintObject.h"

class QPainter;

namespace veltrin::wb {

QColor toQColor(const PaintColor& color);

// Draws paint objects with QPainter in view coordinates (origin top-left, y down). The numbers of
// every shape are fixed so that the picture is the same on every client.
class PaintObjectRenderer {
public:
    PaintObjectRenderer() = delete;

    // Draws `object` at the object offset (offX, offY) in board units and scales (sx, sy).
    static void drawObject(QPainter& painter, const TPaintObject& object, double offX, double offY, double sx,
                           double sy);
    // The dashed frame and, except for strokes, the eight size handles of the selected object.
    static void drawSelection(QPainter& painter, const TPaintObject& object, double offX, double offY, double sx,
                              double sy);
    // Whole steps of `step` points inside `rect`; nothing for a step below 1.
    static void drawGrid(QPainter& painter, const QRectF& rect, int step);

    // The font a text object is drawn with at scale `sx`.
    static QFont textFont(const VeltrinFont& font, double sx);

    // Resource name of a pointer image; unknown indices show pointer 2.
    static QString pointerImageName(int index);

    // A background image turned by orientation 0-3 (1: 90 degrees counter-clockwise, 2: 180,
    // 3: 90 degrees clockwise); the board takes the result's size.
    static QImage rotateBackground(const QImage& image, int orientation);
};

}  // namespace veltrin::wb
