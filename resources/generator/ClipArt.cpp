// The clip-art pictures and the new-whiteboard templates. Every picture is drawn here from a few
// parameters, so that each one is distinct (a different motif, count, colour or turn) and the whole
// set can be rebuilt at any size.

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>

#include "ResourceGenerator.h"

namespace veltrin::resgen {

namespace {

constexpr int kPicture = 96;
// Pictures per category, categories numbered from 1.
constexpr int kCounts[] = {21, 41, 16, 24, 24, 37, 39};
constexpr int kTemplates = 6;

QColor hueColor(int k, int of, int saturation = 200, int value = 220) {
    return QColor::fromHsv((k * 360 / of + k * 7) % 360, saturation, value);
}

QPolygonF regular(QPointF centre, double radius, int sides, double turn) {
    QPolygonF p;
    for (int i = 0; i < sides; ++i) {
        const double a = turn + 2 * std::numbers::pi * i / sides - std::numbers::pi / 2;
        p << centre + QPointF(radius * std::cos(a), radius * std::sin(a));
    }
    return p;
}

QPolygonF star(QPointF centre, double outer, double inner, int points) {
    QPolygonF p;
    for (int i = 0; i < points * 2; ++i) {
        const double a = std::numbers::pi * i / points - std::numbers::pi / 2;
        const double r = i % 2 ? inner : outer;
        p << centre + QPointF(r * std::cos(a), r * std::sin(a));
    }
    return p;
}

const QPointF kCentre(kPicture / 2.0, kPicture / 2.0);

// 1: solid shapes, from a triangle up, each in its own colour.
void shape(QPainter& p, int k, int of) {
    p.setPen(QPen(hueColor(k, of).darker(150), 3));
    p.setBrush(hueColor(k, of));
    if (k % 7 == 0) {
        p.drawEllipse(kCentre, 38 - k % 3 * 4, 30 + k % 3 * 4);
    } else {
        p.drawPolygon(regular(kCentre, 40, 3 + (k - 1) % 9, (k / 9) * std::numbers::pi / 12));
    }
}

// 2: arrows, turned in eighths, in five styles.
void arrow(QPainter& p, int k, int of) {
    p.translate(kCentre);
    p.rotate(45.0 * (k % 8));
    const int style = (k / 8) % 6;
    p.setPen(QPen(hueColor(k, of).darker(130), 2 + style, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(hueColor(k, of));
    const double spread = 20.0 + style * 2;
    QPolygonF head{{40, 0}, {14, -spread}, {14, spread}};
    if (style % 2 == 0) {
        p.drawRect(QRectF(-38, -7, 52, 14));
    } else {
        p.drawLine(QPointF(-38, 0), QPointF(14, 0));
    }
    p.drawPolygon(head);
    if (style >= 3) p.drawPolygon(QPolygonF{{-40, 0}, {-24, -12}, {-24, 12}});
}

// 3: stars with five to twenty points.
void starPicture(QPainter& p, int k, int of) {
    p.setPen(QPen(QColor(120, 80, 0), 2));
    p.setBrush(hueColor(k, of, 230, 250));
    p.drawPolygon(star(kCentre, 42, 16 + k % 4 * 3, 4 + k));
}

// 4: faces whose mouth, eyes and colour change.
void face(QPainter& p, int k, int of) {
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(hueColor(k, of, 120, 255));
    p.drawEllipse(kCentre, 42, 42);
    p.setBrush(Qt::black);
    const double eye = 4 + k % 3 * 2;
    p.drawEllipse(QPointF(33, 38), eye, eye + k % 2 * 3);
    p.drawEllipse(QPointF(63, 38), eye, eye + k % 2 * 3);
    p.setBrush(Qt::NoBrush);
    const int mood = k % 4;
    const QRectF mouth(28, 44 + (mood == 1 ? 16 : 0), 40, 24);
    if (mood == 0) p.drawArc(mouth, 200 * 16, 140 * 16);
    if (mood == 1) p.drawArc(mouth, 20 * 16, 140 * 16);
    if (mood == 2) p.drawLine(QPointF(32, 66), QPointF(64, 66));
    if (mood == 3) p.drawEllipse(QPointF(48, 66), 8, 6);
    if (k > 12) {
        p.setPen(QPen(hueColor(k, of).darker(200), 4));
        p.drawLine(QPointF(20, 14 + k % 5), QPointF(76, 14 + k % 5));
    }
}

// 5: symbols of arithmetic, logic and the classroom, as large text.
void symbol(QPainter& p, int k, int) {
    static const char16_t* kSymbols[] = {u"+", u"\u2212", u"\u00d7", u"\u00f7", u"=", u"\u2260", u"<", u">",
                                         u"\u2264", u"\u2265", u"%", u"\u221a", u"\u03c0", u"\u221e", u"\u2211",
                                         u"?", u"!", u"\u2713", u"\u2717", u"\u00b0", u"\u00b1", u"\u2248",
                                         u"\u2206", u"\u00a7"};
    p.setPen(Qt::NoPen);
    p.setBrush(k % 2 ? QColor(230, 240, 255) : QColor(255, 240, 220));
    p.drawRoundedRect(QRectF(4, 4, kPicture - 8, kPicture - 8), 14, 14);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(60);
    font.setBold(true);
    p.setFont(font);
    p.setPen(k % 2 ? QColor(20, 60, 160) : QColor(170, 70, 0));
    p.drawText(QRectF(0, 0, kPicture, kPicture), Qt::AlignCenter,
               QString::fromUtf16(kSymbols[(k - 1) % std::size(kSymbols)]));
}

// 6: letters and digits on coloured tiles.
void glyph(QPainter& p, int k, int of) {
    const QString text = k <= 26 ? QString(QChar(u'A' + k - 1)) : QString::number(k - 27);
    p.setPen(QPen(hueColor(k, of).darker(160), 3));
    p.setBrush(hueColor(k, of, 90, 255));
    p.drawRoundedRect(QRectF(6, 6, kPicture - 12, kPicture - 12), 10, 10);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(58);
    font.setBold(true);
    p.setFont(font);
    p.setPen(hueColor(k, of).darker(200));
    p.drawText(QRectF(0, 0, kPicture, kPicture), Qt::AlignCenter, text);
}

// 7: everyday things built from a few parts, each in several colourings.
void object(QPainter& p, int k, int of) {
    const QColor c = hueColor(k, of);
    p.setPen(QPen(c.darker(170), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(c);
    switch ((k - 1) % 8) {
    case 0:  // house
        p.drawRect(QRectF(22, 44, 52, 40));
        p.drawPolygon(QPolygonF{{14, 46}, {48, 14}, {82, 46}});
        p.setBrush(Qt::white);
        p.drawRect(QRectF(42, 60, 14, 24));
        break;
    case 1:  // tree
        p.setBrush(QColor(120, 80, 40));
        p.drawRect(QRectF(42, 58, 12, 30));
        p.setBrush(c);
        p.drawEllipse(QPointF(48, 40), 32, 28);
        break;
    case 2:  // sun
        for (int i = 0; i < 12; ++i) {
            const double a = 2 * std::numbers::pi * i / 12;
            p.drawLine(kCentre + QPointF(26 * std::cos(a), 26 * std::sin(a)),
                       kCentre + QPointF(42 * std::cos(a), 42 * std::sin(a)));
        }
        p.drawEllipse(kCentre, 22, 22);
        break;
    case 3:  // book
        p.drawRect(QRectF(18, 16, 60, 66));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(26, 24, 44, 14));
        break;
    case 4:  // light bulb
        p.drawEllipse(QPointF(48, 38), 24, 24);
        p.setBrush(Qt::gray);
        p.drawRect(QRectF(38, 60, 20, 18));
        break;
    case 5:  // clock
        p.setBrush(Qt::white);
        p.drawEllipse(kCentre, 40, 40);
        p.drawLine(kCentre, kCentre + QPointF(0, -28));
        p.drawLine(kCentre, kCentre + QPointF(18 * std::cos(k), 18 * std::sin(k)));
        break;
    case 6:  // flag
        p.drawLine(QPointF(22, 86), QPointF(22, 10));
        p.drawPolygon(QPolygonF{{22, 12}, {78, 24}, {22, 44}});
        break;
    default:  // cup
        p.drawRect(QRectF(22, 30, 40, 50));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(66, 54), 12, 14);
        break;
    }
    // The colouring round (k / 8) shows as a small badge, so same things stay apart.
    p.setPen(Qt::NoPen);
    p.setBrush(c.darker(140));
    for (int i = 0; i < (k - 1) / 8; ++i) p.drawEllipse(QPointF(84, 10 + i * 10.0), 4, 4);
}

using Painter = void (*)(QPainter&, int, int);
constexpr Painter kPainters[] = {shape, arrow, starPicture, face, symbol, glyph, object};

QImage clipArtPicture(int category, int k) {
    QImage image(kPicture, kPicture, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    kPainters[category - 1](p, k, kCounts[category - 1]);
    p.end();
    return image;
}

// Board backgrounds: lined, squared, graph, dotted, music staves and a notes layout.
QImage templatePicture(int n) {
    QImage image(1024, 768, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QColor light(170, 200, 230);
    p.setPen(QPen(light, 1));
    switch (n) {
    case 1:
        for (int y = 96; y < 768; y += 32) p.drawLine(40, y, 984, y);
        p.setPen(QPen(QColor(230, 120, 120), 2));
        p.drawLine(110, 0, 110, 768);
        break;
    case 2:
        for (int x = 0; x < 1024; x += 32) p.drawLine(x, 0, x, 768);
        for (int y = 0; y < 768; y += 32) p.drawLine(0, y, 1024, y);
        break;
    case 3:
        for (int x = 0; x < 1024; x += 16) {
            p.setPen(QPen(light, x % 80 == 0 ? 2 : 1));
            p.drawLine(x, 0, x, 768);
        }
        for (int y = 0; y < 768; y += 16) {
            p.setPen(QPen(light, y % 80 == 0 ? 2 : 1));
            p.drawLine(0, y, 1024, y);
        }
        break;
    case 4:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 150, 160));
        for (int x = 24; x < 1024; x += 32) {
            for (int y = 24; y < 768; y += 32) p.drawEllipse(QPointF(x, y), 1.8, 1.8);
        }
        break;
    case 5:
        p.setPen(QPen(QColor(60, 60, 60), 1));
        for (int staff = 0; staff < 7; ++staff) {
            for (int line = 0; line < 5; ++line) {
                const int y = 80 + staff * 100 + line * 10;
                p.drawLine(40, y, 984, y);
            }
        }
        break;
    default:
        p.setPen(QPen(QColor(90, 120, 170), 2));
        p.drawLine(0, 110, 1024, 110);
        p.drawLine(280, 110, 280, 610);
        p.drawLine(0, 610, 1024, 610);
        p.setPen(QPen(light, 1));
        for (int y = 142; y < 610; y += 32) p.drawLine(296, y, 1000, y);
        break;
    }
    p.end();
    return image;
}

void generateClipArt(ResourceWriter& writer) {
    for (int c = 1; c <= static_cast<int>(std::size(kCounts)); ++c) {
        for (int k = 1; k <= kCounts[c - 1]; ++k) {
            writer.writeImage(QStringLiteral("clipart"), QStringLiteral("%1-%2.png").arg(c).arg(k), clipArtPicture(c, k));
        }
    }
    for (int n = 1; n <= kTemplates; ++n) {
        writer.writeImage(QStringLiteral("templates"), QStringLiteral("wbtemplate_%1.png").arg(n), templatePicture(n));
    }
}

}  // namespace

VELTRIN_RESOURCE_FAMILY("clip-art", &generateClipArt);

}  // namespace veltrin::resgen
