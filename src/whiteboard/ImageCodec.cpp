#include "whiteboard/ImageCodec.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>

namespace veltrin::wb {

Bytes ImageCodec::encode(const QImage& image, std::int32_t dataType) {
    if (image.isNull()) return {};
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, dataType == kPng ? QByteArrayLiteral("png") : QByteArrayLiteral("jpg"));
    // JPEG has no alpha; flatten onto white rather than letting transparent pixels turn black.
    QImage source = image;
    if (dataType != kPng && image.hasAlphaChannel()) {
        source = QImage(image.size(), QImage::Format_RGB32);
        source.fill(Qt::white);
        QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < argb.height(); ++y) {
            const auto* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            auto* dst = reinterpret_cast<QRgb*>(source.scanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                const QRgb p = src[x];
                const int inv = 255 - qAlpha(p);
                dst[x] = qRgb(qRed(p) + inv, qGreen(p) + inv, qBlue(p) + inv);
            }
        }
    }
    if (!writer.write(source)) return {};
    return Bytes(data.begin(), data.end());
}

std::optional<QImage> ImageCodec::decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > kMaxEncodedBytes) return std::nullopt;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader::setAllocationLimit(kAllocationLimitMb);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (declared.isValid() &&
        (declared.isEmpty() || static_cast<std::int64_t>(declared.width()) * declared.height() > kMaxPixels)) {
        return std::nullopt;
    }
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return image;
}

}  // namespace veltrin::wb
