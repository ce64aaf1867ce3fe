#include "ParticipantIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include "app/core/Resources.h"

namespace veltrin {

namespace {

QPixmap canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawMicrophone(QPainter& p, const QColor& body, bool cross, bool waves) {
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(5.5, 1, 5, 9), 2.5, 2.5);
    p.setPen(QPen(body, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3.5, 4, 9, 8), 180 * 16, 180 * 16);
    p.drawLine(QPointF(8, 12), QPointF(8, 15));
    if (waves) {
        p.setPen(QPen(QColor(0, 150, 0), 1));
        p.drawArc(QRectF(0.5, 2, 4, 7), 100 * 16, 160 * 16);
        p.drawArc(QRectF(11.5, 2, 4, 7), -80 * 16, 160 * 16);
    }
    if (cross) {
        p.setPen(QPen(QColor(200, 0, 0), 1.8));
        p.drawLine(QPointF(2, 2), QPointF(14, 14));
    }
}

void drawPortrait(QPainter& p, const QColor& colour) {
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(245, 245, 245));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(11, 6, 10, 10));
    p.drawChord(QRectF(6, 17, 20, 20), 0, 180 * 16);
}

QPixmap draw(const QString& name) {
    const bool big = name.contains(QLatin1String("_32")) || name.startsWith(QLatin1String("user_framed"));
    QPixmap pixmap = canvas(big ? 32 : 16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (name == QLatin1String("mike_granted_16x16.png")) {
        drawMicrophone(p, QColor(60, 60, 60), false, false);
    } else if (name == QLatin1String("mike_forbidden_16x16.png")) {
        drawMicrophone(p, QColor(150, 150, 150), true, false);
    } else if (name == QLatin1String("mike_speak_16x16.png")) {
        drawMicrophone(p, QColor(0, 130, 0), false, true);
    } else if (name == QLatin1String("typing_16x16.png")) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 90, 90));
        for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF(1.5 + i * 5, 7, 3, 3));
    } else if (name == QLatin1String("cam_broadcast_16x16.png")) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        p.drawRoundedRect(QRectF(1, 4, 10, 8), 1.5, 1.5);
        p.drawPolygon(QPolygonF({QPointF(11, 8), QPointF(15, 5), QPointF(15, 11)}));
    } else if (name == QLatin1String("app_share_16x16") || name == QLatin1String("app_share_control_16x16")) {
        p.setPen(QPen(QColor(60, 60, 60), 1.2));
        p.setBrush(QColor(200, 225, 255));
        p.drawRect(QRectF(1.5, 2.5, 13, 9));
        p.drawLine(QPointF(8, 11.5), QPointF(8, 14));
        p.drawLine(QPointF(5, 14.5), QPointF(11, 14.5));
        if (name == QLatin1String("app_share_control_16x16")) {
            p.setPen(QPen(Qt::black, 0.8));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({QPointF(7, 4), QPointF(7, 12), QPointF(9, 10), QPointF(11, 13), QPointF(12, 12),
                                     QPointF(10, 9.5), QPointF(12.5, 9)}));
        }
    } else if (name == QLatin1String("ok_1.png")) {
        p.setPen(QPen(QColor(0, 170, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
    } else if (name == QLatin1String("user_framed.png")) {
        drawPortrait(p, QColor(40, 90, 170));
    } else if (name == QLatin1String("user_framed_gray.png")) {
        drawPortrait(p, QColor(150, 150, 150));
    } else if (name == QLatin1String("motion_hand_32.png")) {
        p.setPen(QPen(QColor(150, 100, 40), 1));
        p.setBrush(QColor(250, 205, 150));
        p.drawRoundedRect(QRectF(8, 14, 16, 16), 5, 5);
        for (int i = 0; i < 4; ++i) p.drawRoundedRect(QRectF(8 + i * 4, 3 + (i % 3), 4, 14), 2, 2);
        p.drawRoundedRect(QRectF(3, 14, 7, 4), 2, 2);
    } else if (name == QLatin1String("motion_smile_32.png") || name == QLatin1String("motion_clap_32.png")) {
        p.setPen(QPen(QColor(160, 120, 0), 1.5));
        p.setBrush(QColor(255, 215, 0));
        p.drawEllipse(QRectF(2, 2, 28, 28));
        p.setBrush(QColor(60, 40, 0));
        p.drawEllipse(QRectF(10, 10, 3, 4));
        p.drawEllipse(QRectF(19, 10, 3, 4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 12, 14, 11), 200 * 16, 140 * 16);
        if (name == QLatin1String("motion_clap_32.png")) {
            p.setPen(QPen(QColor(200, 60, 0), 1.5));
            p.drawLine(QPointF(2, 4), QPointF(6, 8));
            p.drawLine(QPointF(30, 4), QPointF(26, 8));
        }
    } else if (name == QLatin1String("motion_positive_32.png")) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 160, 0));
        p.drawEllipse(QRectF(2, 2, 28, 28));
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(9, 16), QPointF(14, 21), QPointF(23, 10)}));
    } else if (name == QLatin1String("motion_negative_32.png")) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 0, 0));
        p.drawEllipse(QRectF(2, 2, 28, 28));
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(22, 22));
        p.drawLine(QPointF(22, 10), QPointF(10, 22));
    } else if (name == QLatin1String(kPrivateMarkerIcon)) {
        // A small padlock.
        p.setPen(QPen(QColor(150, 110, 20), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
        p.drawLine(QPointF(4.5, 6), QPointF(4.5, 8));
        p.drawLine(QPointF(11.5, 6), QPointF(11.5, 8));
        p.setPen(QPen(QColor(150, 110, 20), 1));
        p.setBrush(QColor(235, 185, 40));
        p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7.5), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 85, 10));
        p.drawEllipse(QRectF(7, 9.5, 2, 2));
        p.drawRect(QRectF(7.5, 11, 1, 2.5));
    } else if (name == QLatin1String(kSortButtonIcon)) {
        // Three bars of falling length with a downward arrow.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 70, 70));
        p.drawRect(QRectF(1, 3, 8, 2));
        p.drawRect(QRectF(1, 7, 6, 2));
        p.drawRect(QRectF(1, 11, 4, 2));
        p.setPen(QPen(QColor(70, 70, 70), 1.5));
        p.drawLine(QPointF(12.5, 2), QPointF(12.5, 13));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(9.5, 11), QPointF(15.5, 11), QPointF(12.5, 15)}));
    } else {
        return {};
    }
    p.end();
    return pixmap;
}

}  // namespace

const QStringList& participantIconNames() {
    static const QStringList names = {
        QStringLiteral("mike_granted_16x16.png"),  QStringLiteral("mike_forbidden_16x16.png"),
        QStringLiteral("mike_speak_16x16.png"),    QStringLiteral("typing_16x16.png"),
        QStringLiteral("cam_broadcast_16x16.png"), QStringLiteral("app_share_16x16"),
        QStringLiteral("app_share_control_16x16"), QStringLiteral("ok_1.png"),
        QStringLiteral("user_framed.png"),         QStringLiteral("user_framed_gray.png"),
        QStringLiteral("motion_hand_32.png"),      QStringLiteral("motion_smile_32.png"),
        QStringLiteral("motion_clap_32.png"),      QStringLiteral("motion_positive_32.png"),
        QStringLiteral("motion_negative_32.png"),  QString::fromLatin1(kPrivateMarkerIcon),
        QString::fromLatin1(kSortButtonIcon),
    };
    return names;
}

QPixmap drawParticipantIcon(const QString& name) { return draw(name); }

QPixmap participantIcon(const QString& name) {
    static QHash<QString, QPixmap> cache;
    const auto it = cache.constFind(name);
    if (it != cache.constEnd()) return *it;
    QPixmap pixmap;
    const QString file = resourcePath(ResourceFolder::Icons, name);
    // The file names carry no reliable suffix ("app_share_16x16"), so the format is sniffed.
    if (file.isEmpty() || !pixmap.load(file)) pixmap = draw(name);
    cache.insert(name, pixmap);
    return pixmap;
}

}  // namespace veltrin
