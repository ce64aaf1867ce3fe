#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>

namespace veltrin::bench {

// The k-th picture the board benchmarks place: 128 x 96, a colour and a drawing that differ with k,
// so that no two encode alike.
inline QImage picture(int k) {
    QImage image(128, 96, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(k * 17 % 360, 180, 230));
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 3));
    p.drawEllipse(10 + k, 10, 60, 60);
    p.drawLine(0, 0, 127, 95);
    return image;
}

}  // namespace veltrin::bench
