#include "whiteboard/PaintObjectRenderer.h"

#include <cmath>
#include <numbers>

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QPainterPath>
#include <QTextOption>
#include <QTransform>

namespace veltrin::wb {

namespace {

int r(double v) { return static_cast<int>(std::lround(std::isfinite(v) ? std::clamp(v, -1e9, 1e9) : 0.0)); }

// Rectangles and ellipses are symmetric, so a shape dragged up or left is drawn in its normalised
// rectangle; QPainter's handling of negative sizes is not something to rely on.
QRectF normalised(double x, double y, double w, double h) { return QRectF(x, y, w, h).normalized(); }

void strokePath(QPainter& p, std::initializer_list<QPointF> points, bool close = true) {
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it) path.lineTo(*it);
    if (close) path.closeSubpath();
    p.strokePath(path, p.pen());
}

void strokeRegularPolygon(QPainter& p, int x1, int y1, int w, int sides) {
    const int radius = static_cast<int>(std::trunc(r(w * 0.5)));
    const double cx = x1 + radius;
    const double cy = y1 + radius;
    const float pi = std::numbers::pi_v<float>;
    QPainterPath path;
    for (int k = 0; k <= 2 * sides; k += 2) {
        const float a = sides == 5 ? static_cast<float>(k) * pi / 5.0f - pi / 10.0f : static_cast<float>(k) * pi / 6.0f;
        const QPointF point(std::trunc(r(radius * static_cast<double>(std::cos(a)) + cx)),
                            std::trunc(r(radius * static_cast<double>(std::sin(a)) + cy)));
        if (k == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    path.closeSubpath();
    p.strokePath(path, p.pen());
}

void strokeHandPoints(QPainter& p, const TPaintObject& o, double offX, double offY, double sx, double sy) {
    if (o.FHandPoints.empty()) return;
    QPainterPath path;
    path.moveTo((o.FHandPoints[0].x + offX) * sx, (o.FHandPoints[0].y + offY) * sy);
    for (std::size_t i = 1; i < o.FHandPoints.size(); ++i) {
        path.lineTo((o.FHandPoints[i].x + offX) * sx, (o.FHandPoints[i].y + offY) * sy);
    }
    p.strokePath(path, p.pen());
}

}  // namespace

QColor toQColor(const PaintColor& c) {
    auto unit = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
    return QColor::fromRgbF(static_cast<float>(unit(c.red)), static_cast<float>(unit(c.green)),
                            static_cast<float>(unit(c.blue)), static_cast<float>(unit(c.alpha)));
}

QFont PaintObjectRenderer::textFont(const VeltrinFont& font, double sx) {
    const std::int64_t pixels = static_cast<std::int64_t>(font.fontSize) * 96 / 72;
    // Names may carry the style as suffixes ("Helvetica-Bold-Italic"); the family is what precedes.
    QString family = QString::fromStdString(font.fontName);
    for (const QString& suffix : {QStringLiteral("-Italic"), QStringLiteral("-Bold")}) {
        if (family.endsWith(suffix)) family.chop(suffix.size());
    }
    QFont f = QFontDatabase::families().contains(family) ? QFont(family) : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPixelSize(std::max(1, r(static_cast<double>(pixels) * sx)));
    f.setBold(font.isBold);
    f.setItalic(font.isItalic);
    return f;
}

void PaintObjectRenderer::drawObject(QPainter& p, const TPaintObject& o, double offX, double offY, double sx,
                                     double sy) {
    const int x1 = r((offX + o.FX) * sx);
    const int y1 = r((offY + o.FY) * sy);
    const int x2 = r((offX + o.FX2) * sx);
    const int y2 = r((offY + o.FY2) * sy);
    const int w = x2 - x1;
    const int h = y2 - y1;

    QPen pen(toQColor(o.FTyp == kHighlighter ? o.FBackColor : o.FColor));
    pen.setWidthF(o.FPenWidth * sx);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor fill = toQColor(o.FBackColor);

    switch (o.FTyp) {
    case kLine:
        p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
        break;
    case kRectangle:
        p.drawRect(normalised(x1, y1, w, h));
        break;
    case kOval:
        p.drawEllipse(normalised(x1, y1, w, h));
        break;
    case kText: {
        p.setFont(textFont(o.FFont, sx));
        p.setPen(toQColor(o.FColor));
        const QString text = QString::fromStdString(o.FText);
        if (o.FMultiLine) {
            QTextOption option(Qt::AlignLeft | Qt::AlignTop);
            option.setWrapMode(QTextOption::WordWrap);
            p.drawText(normalised(x1, y1, w, h), text, option);
        } else {
            p.drawText(QPointF(x1, y1 + p.fontMetrics().ascent()), text);
        }
        break;
    }
    case kImage:
        if (o.hasImage()) {
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.setOpacity(1.0);
            p.drawImage(normalised(x1, y1, w, h), o.FObjectImage);
        } else {
            QPen frame(Qt::black);
            frame.setWidthF(0.5);
            p.setPen(frame);
            p.drawRect(normalised(x1, y1, w, h));
        }
        break;
    case kPencil:
        strokeHandPoints(p, o, offX, offY, sx, sy);
        break;
    case kHighlighter: {
        QColor ink = fill;
        ink.setAlphaF(0.2f);
        pen.setColor(ink);
        p.setPen(pen);
        strokeHandPoints(p, o, offX, offY, sx, sy);
        break;
    }
    case kFilledRectangle:
        p.fillRect(normalised(x1, y1, w, h), fill);
        p.drawRect(normalised(x1, y1, w, h));
        break;
    case kFilledOval:
        p.setBrush(fill);
        p.drawEllipse(normalised(x1, y1, w, h));
        break;
    case kGrid:
        drawGrid(p, QRectF(x1, y1, w, h), static_cast<int>(std::trunc(r(sx * 25))));
        break;
    case kTriangle:
        strokePath(p, {QPointF(x1, y2), QPointF(x1 + w * 0.5, y1), QPointF(x2, y2)});
        break;
    case kPentagon:
        strokeRegularPolygon(p, x1, y1, w, 5);
        break;
    case kHexagon:
        strokeRegularPolygon(p, x1, y1, w, 6);
        break;
    case kDiamond: {
        const int hw = r(w * 0.5);
        const int hh = r(h * 0.5);
        strokePath(p, {QPointF(x1, y1 + hh), QPointF(x1 + hw, y1), QPointF(x2, y1 + hh), QPointF(x1 + hw, y2)});
        break;
    }
    case kParallelogram: {
        const int t = r(w / 3.0);
        strokePath(p, {QPointF(x1 + t, y1), QPointF(x2, y1), QPointF(x2 - t, y2), QPointF(x1, y2)});
        break;
    }
    case kTrapezium: {
        const int t = r(w * 0.25);
        strokePath(p, {QPointF(x1 + t, y1), QPointF(x2 - t, y1), QPointF(x2, y2), QPointF(x1, y2)});
        break;
    }
    case kCylinder: {
        const int t = h / 10;
        const int e = r(h / 5.0);
        p.drawLine(QPointF(x1, y1 + t), QPointF(x1, y2 - t));
        p.drawEllipse(normalised(x1, y1, w, e));
        p.drawLine(QPointF(x2, y1 + t), QPointF(x2, y2 - t));
        p.drawEllipse(normalised(x1, y2 - e, w, e));
        break;
    }
    case kCone: {
        const int t = r(h / 10.0);
        p.drawEllipse(normalised(x1, y2 - 2 * t, w, 2 * t));
        strokePath(p, {QPointF(x1, y2 - t), QPointF(x1 + r(w * 0.5), y1), QPointF(x2, y2 - t)}, false);
        break;
    }
    default:
        break;
    }
}

void PaintObjectRenderer::drawGrid(QPainter& p, const QRectF& rect, int step) {
    if (step < 1) return;
    const QRectF n = rect.normalized();
    const int x0 = static_cast<int>(std::trunc(n.left()));
    const int y0 = static_cast<int>(std::trunc(n.top()));
    const int nx = std::abs(static_cast<int>(std::trunc(rect.width()))) / step;
    const int ny = std::abs(static_cast<int>(std::trunc(rect.height()))) / step;
    const int xe = x0 + nx * step;
    const int ye = y0 + ny * step;
    p.setRenderHint(QPainter::Antialiasing, false);
    auto line = [&](QColor color, int ax, int ay, int bx, int by) {
        QPen pen(color);
        pen.setWidth(1);
        p.setPen(pen);
        p.drawLine(QPoint(ax, ay), QPoint(bx, by));
    };
    line(Qt::red, x0, y0, xe, y0);
    line(Qt::red, x0, ye, xe, ye);
    line(Qt::blue, x0, y0, x0, ye);
    line(Qt::blue, xe, y0, xe, ye);
    QColor inner(Qt::black);
    inner.setAlphaF(0.5f);
    for (int x = x0 + step; x < xe; x += step) line(inner, x, y0, x, ye);
    for (int y = y0 + step; y < ye; y += step) line(inner, x0, y, xe, y);
}

void PaintObjectRenderer::drawSelection(QPainter& p, const TPaintObject& o, double offX, double offY, double sx,
                                        double sy) {
    const int x1 = r((offX + o.FX) * sx);
    const int y1 = r((offY + o.FY) * sy);
    const int x2 = r((offX + o.FX2) * sx);
    const int y2 = r((offY + o.FY2) * sy);
    const double minX = std::min(x1, x2), maxX = std::max(x1, x2);
    const double minY = std::min(y1, y2), maxY = std::max(y1, y2);
    const double w = maxX - minX, h = maxY - minY;

    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    QPen dashed(Qt::red);
    dashed.setWidthF(0.5);
    // The pattern is in units of the pen width: 3 points on, 5 off.
    dashed.setDashPattern({3 / 0.5, 5 / 0.5});
    dashed.setDashOffset(0);
    p.setPen(dashed);
    p.drawRect(QRectF(minX - 2.5, minY - 2.5, w + 5, h + 5));

    if (o.isStroke()) return;
    QPen handle(Qt::red);
    handle.setWidth(1);
    p.setPen(handle);
    const QPointF corners[] = {{minX - 5, minY - 5},         {minX + w * 0.5 - 2, minY - 5}, {maxX, minY - 5},
                               {maxX, minY + h * 0.5 - 2},   {maxX, maxY},                   {minX + w * 0.5 - 2, maxY},
                               {minX - 5, maxY},             {minX - 5, minY + h * 0.5 - 2}};
    for (const QPointF& c : corners) p.drawRect(QRectF(c, QSizeF(5, 5)));
}

QString PaintObjectRenderer::pointerImageName(int index) {
    if (index < 0 || index > 7) index = 2;
    return QStringLiteral("pt%1.png").arg(index);
}

QImage PaintObjectRenderer::rotateBackground(const QImage& image, int orientation) {
    double angle = 0;
    switch (orientation) {
    case 1: angle = 90; break;
    case 2: angle = 180; break;
    case 3: angle = -90; break;
    default: break;
    }
    if (angle == 0 || image.isNull()) return image;
    // Counter-clockwise as seen; QTransform turns clockwise on a y-down surface.
    return image.transformed(QTransform().rotate(-angle));
}

}  // namespace veltrin::wb
