// The Mic button's three images, 48 × 96 with the pressed state below the normal one:
// "tbf_48x96_mic_muted.png", "tbf_48x96_mic_active.png" and "tbf_48x96_mic_disconnected.png".

#include <QPainter>
#include <QPainterPath>

#include "ResourceGenerator.h"

namespace {

enum class MicLook { Muted, Active, Disconnected };

void drawMicrophone(QPainter& p, const QRectF& cell, MicLook look, bool pressed) {
    const QColor body = look == MicLook::Active ? QColor(40, 170, 70) : look == MicLook::Muted ? QColor(90, 90, 90)
                                                                                              : QColor(150, 150, 150);
    p.save();
    p.translate(cell.topLeft());
    if (pressed) {
        p.setBrush(QColor(0, 0, 0, 40));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(2, 2, 44, 44), 6, 6);
    }
    // Capsule, stand and base.
    p.setPen(QPen(body.darker(130), 1.5));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(17, 6, 14, 22), 7, 7);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(body, 2.5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath cradle;
    cradle.moveTo(12, 20);
    cradle.cubicTo(12, 33, 36, 33, 36, 20);
    p.drawPath(cradle);
    p.drawLine(QPointF(24, 31), QPointF(24, 38));
    p.drawLine(QPointF(17, 39), QPointF(31, 39));
    if (look == MicLook::Active) {
        p.setPen(QPen(QColor(40, 170, 70, 160), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6, 8, 8, 14), 100 * 16, 160 * 16);
        p.drawArc(QRectF(34, 8, 8, 14), -80 * 16, 160 * 16);
    } else {
        // Muted: a red stroke; disconnected: a broken link mark in grey-red.
        const QColor mark = look == MicLook::Muted ? QColor(210, 40, 40) : QColor(170, 80, 80);
        p.setPen(QPen(mark, 3, look == MicLook::Muted ? Qt::SolidLine : Qt::DashLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 40), QPointF(38, 8));
    }
    p.restore();
}

QImage micImage(MicLook look) {
    QImage image(48, 96, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawMicrophone(p, QRectF(0, 0, 48, 48), look, false);
    drawMicrophone(p, QRectF(0, 48, 48, 48), look, true);
    return image;
}

void generateMicImages(veltrin::resgen::ResourceWriter& writer) {
    writer.writeImage(QStringLiteral("icons"), QStringLiteral("tbf_48x96_mic_muted.png"), micImage(MicLook::Muted));
    writer.writeImage(QStringLiteral("icons"), QStringLiteral("tbf_48x96_mic_active.png"), micImage(MicLook::Active));
    writer.writeImage(QStringLiteral("icons"), QStringLiteral("tbf_48x96_mic_disconnected.png"),
                      micImage(MicLook::Disconnected));
}

}  // namespace

VELTRIN_RESOURCE_FAMILY("mic-images", &generateMicImages);
