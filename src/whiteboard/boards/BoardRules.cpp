#include "whiteboard/boards/BoardRules.h"

#include <limits>

#include "whiteboard/TPaintObject.h"

namespace veltrin::wb::BoardRules {

std::int32_t nextRotationIndex(std::int32_t current, std::int32_t step) {
    const std::int32_t r = ((current % 4) + 4) % 4;
    if (step < 0) return (r + 3) % 4;
    const std::int64_t next = static_cast<std::int64_t>(r) + step;
    return next >= 4 ? 0 : static_cast<std::int32_t>(next);
}

std::int32_t inverseRotationIndex(std::int32_t index) {
    switch (index) {
    case 1: return 3;
    case 2: return 2;
    case 3: return 1;
    default: return 0;
    }
}

std::int32_t imageTypeWithRotation(std::int32_t imageType, std::int32_t rotationIndex) {
    return (imageType & 0xff) | ((rotationIndex & 0xff) << 8);
}

std::optional<ScreenshotPlacement> placeScreenshot(std::int32_t boardWidth, const QSize& image) {
    if (image.width() <= 0 || image.height() <= 0 || boardWidth <= 0) return std::nullopt;
    ScreenshotPlacement p;
    p.factor = boardWidth * 0.66 / image.width();
    p.size = QSizeF(image.width() * p.factor, image.height() * p.factor);
    return p;
}

QPoint clipArtPosition(std::int32_t boardWidth, std::int32_t pictureWidth, const TPaintObject* selected) {
    if (!selected) return {10, 10};
    const std::int64_t x = static_cast<std::int64_t>(selected->FX2) + 5;
    if (x + pictureWidth >= boardWidth) {
        const std::int64_t y = static_cast<std::int64_t>(selected->FY2) + 10;
        return {10, static_cast<int>(std::min<std::int64_t>(y, std::numeric_limits<int>::max()))};
    }
    return {static_cast<int>(x), selected->FY};
}

std::optional<QSize> presetSize(int tag) {
    switch (tag) {
    case 0: return QSize(800, 600);
    case 1: return QSize(1024, 768);
    case 2: return QSize(1280, 1024);
    case 3: return QSize(1600, 1200);
    default: return std::nullopt;
    }
}

const char* markupButtonImage(bool markupVisible) {
    return markupVisible ? "tbwb_28x28_markup.png" : "tbwb_28x28_markup_hidden.png";
}

}  // namespace veltrin::wb::BoardRules
