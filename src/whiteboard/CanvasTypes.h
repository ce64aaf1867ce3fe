#pragma once

#include <cstdint>
#include <optional>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "whiteboard/TPaintObject.h"

namespace veltrin::wb {

// What the mouse does on the canvas.
enum CanvasMode : std::int32_t { kArrowMode = 0, kDrawMode = 1, kPointerMode = 2, kEraserMode = 3 };

// FMouseMode during an arrow-mode drag: 0 nothing, 1 move, 2-9 resize by the handle of that code.
enum HandleCode : std::int32_t {
    kNoHandle = 0,
    kMoveObject = 1,
    kTopLeft = 2,
    kTopMiddle = 3,
    kTopRight = 4,
    kRightMiddle = 5,
    kBottomRight = 6,
    kBottomMiddle = 7,
    kBottomLeft = 8,
    kLeftMiddle = 9,
};

// Virtual key codes the canvas acts on (see platform/KeyCodes.h).
namespace CanvasKey {
inline constexpr int Delete = 51;
inline constexpr int ForwardDelete = 117;
inline constexpr int Escape = 53;
inline constexpr int Left = 123;
inline constexpr int Right = 124;
inline constexpr int Down = 125;
inline constexpr int Up = 126;
}  // namespace CanvasKey

// Who hears about the canvas's changes: the classroom controller, which sends them to the room.
// Every call happens on the main thread.
class ActivePaintDelegate {
public:
    virtual ~ActivePaintDelegate() = default;
    virtual void ActivePaint_NewObject(const TPaintObject& object) = 0;
    virtual void ActivePaint_UpdateObject(const TPaintObject& object) = 0;
    virtual void ActivePaint_BeforeDeleteObject(const TPaintObject& object) = 0;
    // -1 front, 0 back.
    virtual void ActivePaint_MoveToPos(const TPaintObject& object, std::int32_t position) = 0;
    // The local pointer at a board point (truncated), shown or hidden.
    virtual void ActivePaint_Pointer(std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex) = 0;
    virtual void ActivePaint_ShowPopUpAtPoint(const QPoint& viewPoint) = 0;
    virtual void ActivePaint_DetailsOfObject(const TPaintObject& object, const QPoint& viewPoint) = 0;
    virtual void ActivePaint_CanvasModeChangedTo(std::int32_t mode) = 0;
};

// A cursor as the canvas shows it: a named image with its hot spot, or a standard shape when the
// image is missing or none is named.
struct CursorChoice {
    bool set = true;  // false: leave the cursor as it is (pointer mode)
    QString imageName;
    QPoint hotSpot;
    Qt::CursorShape fallback = Qt::ArrowCursor;
    bool operator==(const CursorChoice&) const = default;
};

// The in-place text field as the logic sees it.
struct TextFieldContent {
    QRectF frame;  // view points
    QString text;
};

// What the interaction logic needs from the widget that shows it. Tests may replace it.
class CanvasSurface {
public:
    virtual ~CanvasSurface() = default;
    virtual void requestRepaint() = 0;
    // One piece of a stroke being drawn, in view points, shown at once over the board.
    virtual void drawLiveSegment(const QPointF& from, const QPointF& to, const QColor& color, double width) = 0;
    // The stroke ended: what drawLiveSegment showed is dropped (the finished object replaces it).
    virtual void clearLiveStroke() = 0;
    virtual void openTextField(const QRectF& frame, const QString& text, bool multiLine, const QFont& font,
                               const QColor& color) = 0;
    // Closes the field (if any) and answers what it held.
    virtual std::optional<TextFieldContent> takeTextField() = 0;
    virtual bool hasTextField() const = 0;
    // Asks the user for a picture ("jpg", "png" or "gif"); nothing when cancelled or unreadable.
    virtual std::optional<QImage> chooseImage() = 0;
    virtual void applyCursor(const CursorChoice& cursor) = 0;
    // The pointer overlay at a board point; index -1 hides it.
    virtual void showPointer(std::int32_t x, std::int32_t y, std::int32_t pointerIndex) = 0;
};

}  // namespace veltrin::wb
