#pragma once

#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include "whiteboard/TPaintObject.h"
#include "wire/BoardStream.h"

namespace veltrin::wb::test {

// A picture whose quarters differ, so that any turn or mirror of it shows.
inline QImage quarterImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return image;
}

inline TPaintObject rectangle(std::int32_t uid, std::int32_t id, std::int32_t x) {
    TPaintObject o(uid, id, 0);
    o.FTyp = kFilledRectangle;
    o.FX = x;
    o.FY = 20;
    o.FX2 = x + 100;
    o.FY2 = 120;
    o.FBackColor = PaintColor::blueColor();
    return o;
}

inline TPaintObject stroke(std::int32_t uid, std::int32_t id) {
    TPaintObject o(uid, id, 0);
    o.FTyp = kPencil;
    o.FPenWidth = 3;
    o.FHandPoints = {{10, 10}, {200, 300}, {400, 50}};
    return o;
}

inline TBoardStreamObject entryOf(const TPaintObject& o) {
    TBoardStreamObject e;
    e.Body = o.bodyBytes(true, 2);
    e.Header = o.header(TPaintObjectHeader::kNewObject, static_cast<std::int32_t>(e.Body.size()));
    return e;
}

inline TBoardStreamHead head(std::int32_t index, const std::string& title) {
    TBoardStreamHead h;
    h.Index = index;
    h.BoardId = "id-" + std::to_string(index);
    h.Title = title;
    h.UserId = 7;
    h.OriginalW = 1024;
    h.OriginalH = 768;
    h.Color[0] = 255;
    h.Color[1] = 128;
    h.Color[2] = 0;
    return h;
}

}  // namespace veltrin::wb::test
