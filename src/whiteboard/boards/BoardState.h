#pragma once

#include <cstdint>
#include <string>

#include <QImage>

#include "whiteboard/BoardRenderer.h"
#include "whiteboard/PaintColor.h"

namespace veltrin::wb {

// What a canvas knows about the board it shows besides its objects: the fields a board snapshot
// carries. The background image is held as shown, already turned by the rotation index.
struct BoardState {
    std::int32_t Index = 1;
    std::int32_t PresentationId = 0;
    std::int32_t SlideNo = 0;
    std::string BoardId;  // the server's; not interpreted
    std::string Title;
    std::int32_t UserId = 0;
    std::int32_t OriginalW = 1024;
    std::int32_t OriginalH = 768;
    PaintColor FBackgroundColor = PaintColor::whiteColor();
    bool FMarkupVisible = true;
    bool FHasBgImage = false;
    QImage BackgroundImage;
    std::int32_t ImageType = 0;  // low byte encoding (1 JPEG, 2 PNG), second byte rotation index
    bool BoardLoaded = false;
    std::int32_t HeaderSize = 0;  // bytes the last snapshot read took
    // Raised whenever BackgroundImage is replaced, so that cached pictures notice.
    std::uint64_t backgroundRevision = 0;

    std::int32_t rotationIndex() const { return (ImageType >> 8) & 0xff; }
    void setBackground(QImage image) {
        BackgroundImage = std::move(image);
        ++backgroundRevision;
    }

    BoardAppearance appearance(std::int32_t scaleType) const {
        BoardAppearance a;
        a.originalW = OriginalW;
        a.originalH = OriginalH;
        a.scaleType = scaleType;
        a.backgroundColor = FBackgroundColor;
        a.backgroundImage = BackgroundImage;
        a.hasBgImage = FHasBgImage;
        a.boardLoaded = BoardLoaded;
        a.markupVisible = FMarkupVisible;
        a.backgroundRevision = backgroundRevision;
        return a;
    }
};

}  // namespace veltrin::wb
