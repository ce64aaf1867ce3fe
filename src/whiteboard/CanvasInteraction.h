#pragma once

#include <cstdint>
#include <memory>

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QString>

#include "whiteboard/BoardGeometry.h"
#include "whiteboard/CanvasTypes.h"
#include "whiteboard/PaintColor.h"
#include "whiteboard/PaintObjectList.h"

namespace veltrin::wb {

// The canvas's rules without its widget: the four modes, creating, selecting, moving, resizing,
// erasing, the pointer, keys, text fields, pasting and placing pictures. Input arrives in view
// points with the board placement of the last paint; the results go to the delegate (what the
// room must hear) and to the surface (what the widget must show).
class CanvasInteraction {
public:
    explicit CanvasInteraction(CanvasSurface& surface);

    void setDelegate(ActivePaintDelegate* delegate) { delegate_ = delegate; }
    void setObjectList(std::shared_ptr<PaintObjectList> objects);
    PaintObjectList& objects() const { return *objects_; }
    const std::shared_ptr<PaintObjectList>& objectList() const { return objects_; }
    void setPlacement(const BoardPlacement& placement) { placement_ = placement; }
    const BoardPlacement& placement() const { return placement_; }

    // ---- tool state
    std::int32_t CanvasMode() const { return canvasMode_; }
    void SetCanvasMode(std::int32_t mode);
    std::int32_t NewShapeType() const { return newShapeType_; }
    void SetNewShapeType(std::int32_t kind);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    void setMyUID(std::int32_t uid) { myUid_ = uid; }
    std::int32_t MyUID() const { return myUid_; }
    void setMyPointer(std::int32_t index) { myPointer_ = index; }
    std::int32_t MyPointer() const { return myPointer_; }
    std::int32_t mouseMode() const { return mouseMode_; }
    bool isMouseDown() const { return mouseDown_; }

    PaintColor NewShapeOutlineColor = PaintColor::redColor();
    PaintColor NewShapeFillColor = PaintColor::greenColor();
    std::int32_t NewShapeOutlineWidth = 3;
    std::int32_t NewShapeHighlighterWidth = 15;
    PaintColor NewShapeFontColor = PaintColor::blackColor();
    std::int32_t NewShapeTextSize = 12;

    // The object being drawn (not yet in the list), or null.
    const TPaintObject* newPaintObject() const { return newPaintObject_.get(); }
    PaintObjectPtr selectedObject() const { return objects_->selected(); }
    void SetSelectedObject(PaintObjectPtr object);

    // ---- input (view points; `parentPoint` is the mouse in the parent's coordinates, for panning)
    void mouseDown(const QPointF& viewPoint, const QPointF& parentPoint);
    void mouseDragged(const QPointF& viewPoint, const QPointF& parentPoint);
    void mouseUp(const QPointF& viewPoint);
    // After a right-button release: which context menu, if any, the delegate shows.
    void rightMouseUp(const QPointF& viewPoint);
    // Answers whether the key was used.
    bool keyDown(int virtualKey);
    // Pan by a wheel or swipe delta (view points).
    void scrollBy(double dx, double dy);

    // Pan offsets (view points) for the scale types that use them.
    double dxOfset() const { return dxOfset_; }
    double dyOfset() const { return dyOfset_; }
    void resetPan() { dxOfset_ = dyOfset_ = 0; }

    // ---- operations used by the controller
    void DeleteSelected();
    void SelectedToFront();
    void SelectedToBack();
    void DisplayTextTyperForSelectedObject();
    void PasteTextObject(const QString& text, const QPointF& boardPoint, bool switchToBrowse);
    void PlaceImageObject(const QImage& image, const QPointF& boardPoint);
    PaintObjectPtr getObjectByPoint(std::int32_t x, std::int32_t y, std::int32_t correction) const;
    std::int32_t newObjectId() { return objects_->newObjectId(); }
    std::shared_ptr<TPaintObject> CreateNewTempShapeAt(std::int32_t x, std::int32_t y);

    // ---- the text field
    void openTextTyper(const QRectF& frame, const QString& text = {}, bool multiLine = false);
    // Closes an open field; with `create` its text becomes an object.
    void closeTextTyper(bool create);
    // Return in the field: the line becomes an object and, in draw mode, a new field opens below.
    void textTyperReturn();
    void textTyperEscape() { closeTextTyper(false); }
    void createTextFromField(const TextFieldContent& field);
    QFont textTyperFont() const;

    // The board point of a view point: clamped to the board, then divided by the scales.
    QPointF boardPoint(const QPointF& viewPoint) const;
    // The view point relative to the board's top-left, clamped to the board.
    QPointF clampedOffset(const QPointF& viewPoint) const;

    void updateCursor();

private:
    void reportNew(const TPaintObject& object);
    void reportUpdate(const TPaintObject& object);
    void eraseAt(const QPointF& boardPoint);
    void finishNewObject(const QPointF& viewPoint);
    void closeTextTyperForModeChange();
    void repaint() { surface_.requestRepaint(); }

    CanvasSurface& surface_;
    ActivePaintDelegate* delegate_ = nullptr;
    std::shared_ptr<PaintObjectList> objects_;
    BoardPlacement placement_;

    std::int32_t canvasMode_ = kArrowMode;
    std::int32_t newShapeType_ = kNone;
    bool readOnly_ = false;
    std::int32_t myUid_ = 0;
    std::int32_t myPointer_ = 2;
    std::shared_ptr<TPaintObject> newPaintObject_;
    bool mouseDown_ = false;
    std::int32_t mouseMode_ = kNoHandle;
    QPointF lastPoint_;
    QPointF dragInitialPoint_;
    double dxOfset_ = 0;
    double dyOfset_ = 0;
};

}  // namespace veltrin::wb
