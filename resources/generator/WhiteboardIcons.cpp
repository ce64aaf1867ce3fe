// The whiteboard's pictures: the canvas cursors, the shape selector's icons (drawn with the board's
// own shape renderer, so an icon looks like what the tool makes), the pointer selector's buttons
// and the 24 x 24 pointer images shown over the board.

#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "ResourceGenerator.h"
#include "whiteboard/PaintObjectRenderer.h"
#include "whiteboard/TPaintObject.h"

namespace veltrin::resgen {

namespace {

using namespace veltrin::wb;

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void strokedPath(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& outline, double width) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(fill);
    QPen pen(outline);
    pen.setWidthF(width);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.drawPath(path);
}

// ---- cursors, 16 x 16, hot spots as the canvas sets them

QImage pencilCursor() {  // hot spot (0, 0): the tip at the top-left
    QImage image = blank(16, 16);
    QPainter p(&image);
    QPainterPath body;
    body.moveTo(0.5, 0.5);
    body.lineTo(5, 2);
    body.lineTo(15, 12);
    body.lineTo(12, 15);
    body.lineTo(2, 5);
    body.closeSubpath();
    strokedPath(p, body, QColor(250, 200, 60), Qt::black, 1);
    QPainterPath tip;
    tip.moveTo(0.5, 0.5);
    tip.lineTo(4, 1.8);
    tip.lineTo(1.8, 4);
    tip.closeSubpath();
    strokedPath(p, tip, Qt::black, Qt::black, 0.5);
    return image;
}

QImage highlighterCursor() {  // hot spot (0, 16): the chisel at the bottom-left
    QImage image = blank(16, 16);
    QPainter p(&image);
    QPainterPath body;
    body.moveTo(0, 16);
    body.lineTo(0, 11);
    body.lineTo(10, 1);
    body.lineTo(15, 6);
    body.lineTo(5, 16);
    body.closeSubpath();
    strokedPath(p, body, QColor(255, 240, 0), Qt::black, 1);
    return image;
}

QImage rubberCursor() {  // hot spot (3, 3)
    QImage image = blank(16, 16);
    QPainter p(&image);
    QPainterPath body;
    body.addRoundedRect(QRectF(1, 1, 14, 9), 2, 2);
    strokedPath(p, body, QColor(240, 140, 160), Qt::black, 1);
    p.fillRect(QRectF(1.5, 6, 13, 3.5), QColor(90, 120, 200));
    return image;
}

QImage crossCursor() {  // hot spot (5, 5)
    QImage image = blank(16, 16);
    QPainter p(&image);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(5, 0, 5, 10);
    p.drawLine(0, 5, 10, 5);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(5, 0, 5, 10);
    p.drawLine(0, 5, 10, 5);
    return image;
}

// ---- shape icons, 24 x 24, drawn as the board draws the shape

QImage shapeIcon(std::int32_t kind) {
    QImage image = blank(24, 24);
    QPainter p(&image);
    TPaintObject o(0, 0, 0);
    o.FTyp = kind;
    o.FX = 3;
    o.FY = 4;
    o.FX2 = 21;
    o.FY2 = kind == kPentagon || kind == kHexagon ? 21 : 20;
    o.FPenWidth = 2;
    o.FColor = PaintColor::blackColor();
    o.FBackColor = PaintColor::rgb(1, 0.85, 0.2);
    PaintObjectRenderer::drawObject(p, o, 0, 0, 1, 1);
    return image;
}

// ---- pointers: eight looks, each in its own colour

QColor pointerColor(int index) {
    static const QColor colors[] = {QColor(220, 30, 30), QColor(30, 140, 30), QColor(230, 60, 20), QColor(30, 80, 220),
                                    QColor(150, 40, 180), QColor(240, 170, 0), QColor(0, 150, 160), QColor(40, 40, 40)};
    return colors[index % 8];
}

QImage pointerImage(int index, int size) {
    QImage image = blank(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    const QColor color = pointerColor(index);
    QPainterPath shape;
    switch (index) {
    case 0:
    case 4: {  // arrows pointing at the centre
        shape.moveTo(12, 12);
        shape.lineTo(12, 23);
        shape.lineTo(15, 19.5);
        shape.lineTo(18, 23);
        shape.lineTo(20, 21.5);
        shape.lineTo(17, 18);
        shape.lineTo(21.5, 17);
        shape.closeSubpath();
        break;
    }
    case 1:
    case 5:  // target rings
        shape.addEllipse(QPointF(12, 12), 10, 10);
        shape.addEllipse(QPointF(12, 12), 5, 5);
        break;
    case 2:  // a dot with a halo
        shape.addEllipse(QPointF(12, 12), 7, 7);
        p.setBrush(QColor(color.red(), color.green(), color.blue(), 70));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 12), 11, 11);
        break;
    case 3:
    case 7: {  // stars
        for (int k = 0; k < 10; ++k) {
            const double a = k * M_PI / 5 - M_PI / 2;
            const double r = k % 2 == 0 ? 11 : 4.5;
            const QPointF point(12 + r * std::cos(a), 12 + r * std::sin(a));
            if (k == 0) shape.moveTo(point); else shape.lineTo(point);
        }
        shape.closeSubpath();
        break;
    }
    default:  // 6: a diamond
        shape.moveTo(12, 1);
        shape.lineTo(23, 12);
        shape.lineTo(12, 23);
        shape.lineTo(1, 12);
        shape.closeSubpath();
        break;
    }
    shape.setFillRule(Qt::OddEvenFill);
    strokedPath(p, shape, color, color.darker(160), 1);
    return image;
}

// The markup button, 28 x 28: a pen over a page; crossed out while the markup is hidden.
QImage markupIcon(bool hidden) {
    QImage image = blank(28, 28);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 3.5, 16, 21));
    QPainterPath scribble;
    scribble.moveTo(7, 18);
    scribble.cubicTo(10, 12, 13, 22, 17, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 110, 220), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(scribble);
    QPainterPath pen;
    pen.moveTo(25, 5);
    pen.lineTo(27, 7);
    pen.lineTo(16, 18);
    pen.lineTo(13, 19);
    pen.lineTo(14, 16);
    pen.closeSubpath();
    strokedPath(p, pen, QColor(250, 200, 60), QColor(120, 90, 20), 1);
    if (hidden) {
        p.setPen(QPen(QColor(200, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 25), QPointF(25, 3));
    }
    return image;
}

void generateWhiteboardIcons(ResourceWriter& writer) {
    const QString cursors = QStringLiteral("cursors");
    writer.writeImage(cursors, QStringLiteral("cr_16x16_pencil.png"), pencilCursor());
    writer.writeImage(cursors, QStringLiteral("cr_16x16_highliter.png"), highlighterCursor());
    writer.writeImage(cursors, QStringLiteral("cr_16x16_rubber.png"), rubberCursor());
    writer.writeImage(cursors, QStringLiteral("cr_16x16_cross.png"), crossCursor());

    const QString icons = QStringLiteral("icons");
    const struct {
        const char* name;
        std::int32_t kind;
    } shapes[] = {{"dt_rectangle.png", kRectangle}, {"dt_rectanglefilled.png", kFilledRectangle},
                  {"dt_oval.png", kOval},           {"dt_ovalfilled.png", kFilledOval},
                  {"dt_triangle.png", kTriangle},   {"dt_pentagon.png", kPentagon},
                  {"dt_hexagon.png", kHexagon},     {"dt_diamond.png", kDiamond},
                  {"dt_parallelogram.png", kParallelogram}, {"dt_trapezium.png", kTrapezium},
                  {"dt_cone.png", kCone},           {"dt_cyl.png", kCylinder}};
    for (const auto& shape : shapes) writer.writeImage(icons, QString::fromLatin1(shape.name), shapeIcon(shape.kind));

    writer.writeImage(icons, QStringLiteral("tbwb_28x28_markup.png"), markupIcon(false));
    writer.writeImage(icons, QStringLiteral("tbwb_28x28_markup_hidden.png"), markupIcon(true));

    for (int index = 0; index < 8; ++index) {
        writer.writeImage(icons, PaintObjectRenderer::pointerImageName(index), pointerImage(index, 24));
        writer.writeImage(icons, QStringLiteral("ptbtn%1.png").arg(index), pointerImage(index, 20));
    }
}

}  // namespace

VELTRIN_RESOURCE_FAMILY("whiteboard-icons", &generateWhiteboardIcons);

}  // namespace veltrin::resgen
