#include "whiteboard/CanvasInteraction.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <QFontMetrics>

#include "whiteboard/CanvasCursors.h"
#include "whiteboard/CanvasHitTest.h"
#include "whiteboard/CanvasResize.h"
#include "whiteboard/PaintObjectRenderer.h"

namespace veltrin::wb {

namespace {

// Mouse positions are clamped to the board, so these stay far inside int32.
std::int32_t truncated(double v) { return static_cast<std::int32_t>(std::trunc(std::isfinite(v) ? v : 0.0)); }
std::int32_t rounded(double v) { return static_cast<std::int32_t>(std::lround(std::isfinite(v) ? v : 0.0)); }
double divided(double v, double scale) { return scale == 0 ? 0 : v / scale; }

const QString kTextFontName = QStringLiteral("Helvetica");

}  // namespace

CanvasInteraction::CanvasInteraction(CanvasSurface& surface)
    : surface_(surface), objects_(std::make_shared<PaintObjectList>()) {}

void CanvasInteraction::setObjectList(std::shared_ptr<PaintObjectList> objects) {
    if (!objects) objects = std::make_shared<PaintObjectList>();
    objects_ = std::move(objects);
    newPaintObject_.reset();
    mouseMode_ = kNoHandle;
    repaint();
}

// ---- tool state

void CanvasInteraction::closeTextTyperForModeChange() {
    closeTextTyper(canvasMode_ == kDrawMode && newShapeType_ == kText);
}

void CanvasInteraction::SetCanvasMode(std::int32_t mode) {
    closeTextTyperForModeChange();
    const std::int32_t previous = canvasMode_;
    canvasMode_ = mode;
    updateCursor();
    if (previous != mode && delegate_) delegate_->ActivePaint_CanvasModeChangedTo(mode);
}

void CanvasInteraction::SetNewShapeType(std::int32_t kind) {
    closeTextTyperForModeChange();
    newShapeType_ = kind;
    updateCursor();
}

void CanvasInteraction::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    objects_->setSelected(nullptr);
    if (readOnly) {
        // Whatever was being made can no longer be finished.
        if (newPaintObject_ && newPaintObject_->isStroke()) surface_.clearLiveStroke();
        newPaintObject_.reset();
        mouseMode_ = kNoHandle;
    }
    repaint();
}

void CanvasInteraction::SetSelectedObject(PaintObjectPtr object) {
    objects_->setSelected(std::move(object));
    repaint();
}

void CanvasInteraction::updateCursor() { surface_.applyCursor(cursorFor(canvasMode_, newShapeType_)); }

// ---- coordinates

QPointF CanvasInteraction::clampedOffset(const QPointF& viewPoint) const {
    const QRectF& r = placement_.scaledRect;
    const QPointF p = viewPoint - r.topLeft();
    return {std::clamp(p.x(), 0.0, std::max(0.0, r.width())), std::clamp(p.y(), 0.0, std::max(0.0, r.height()))};
}

QPointF CanvasInteraction::boardPoint(const QPointF& viewPoint) const {
    const QPointF p = clampedOffset(viewPoint);
    return {divided(p.x(), placement_.scaleX), divided(p.y(), placement_.scaleY)};
}

// ---- objects

std::shared_ptr<TPaintObject> CanvasInteraction::CreateNewTempShapeAt(std::int32_t x, std::int32_t y) {
    auto o = std::make_shared<TPaintObject>(myUid_, newObjectId(), objects_->boardIndex());
    o->FTyp = newShapeType_;
    o->FColor = NewShapeOutlineColor;
    o->FBackColor = NewShapeFillColor;
    o->FPenWidth = NewShapeOutlineWidth;
    o->FX = o->FX2 = x;
    o->FY = o->FY2 = y;
    o->FFont.fontName = kTextFontName.toStdString();
    o->FFont.fontSize = NewShapeTextSize;
    o->FFont.fontColor = NewShapeFontColor;
    if (o->FTyp == kText) o->FColor = NewShapeFontColor;
    if (o->FTyp == kHighlighter) {
        o->FPenWidth = NewShapeHighlighterWidth;
        o->FColor = NewShapeFillColor;
    }
    return o;
}

PaintObjectPtr CanvasInteraction::getObjectByPoint(std::int32_t x, std::int32_t y, std::int32_t correction) const {
    return objects_->topmostAt(x, y, correction);
}

void CanvasInteraction::reportNew(const TPaintObject& object) {
    if (delegate_) delegate_->ActivePaint_NewObject(object);
}

void CanvasInteraction::reportUpdate(const TPaintObject& object) {
    if (delegate_) delegate_->ActivePaint_UpdateObject(object);
}

void CanvasInteraction::DeleteSelected() {
    const PaintObjectPtr selected = objects_->selected();
    if (!selected || readOnly_) return;
    if (delegate_) delegate_->ActivePaint_BeforeDeleteObject(*selected);
    objects_->remove(selected.get());
    objects_->setSelected(nullptr);
    repaint();
}

void CanvasInteraction::SelectedToFront() {
    const PaintObjectPtr selected = objects_->selected();
    if (!selected || readOnly_) return;
    objects_->moveToFront(selected.get());
    if (delegate_) delegate_->ActivePaint_MoveToPos(*selected, -1);
    repaint();
}

void CanvasInteraction::SelectedToBack() {
    const PaintObjectPtr selected = objects_->selected();
    if (!selected || readOnly_) return;
    objects_->moveToBack(selected.get());
    if (delegate_) delegate_->ActivePaint_MoveToPos(*selected, 0);
    repaint();
}

void CanvasInteraction::eraseAt(const QPointF& b) {
    const PaintObjectPtr hit = objects_->topmostAt(truncated(b.x()), truncated(b.y()), kEraserWidening);
    if (!hit) return;
    objects_->setSelected(hit);
    DeleteSelected();
}

// ---- mouse

void CanvasInteraction::mouseDown(const QPointF& viewPoint, const QPointF& parentPoint) {
    mouseDown_ = true;
    const QPointF p = clampedOffset(viewPoint);
    const QPointF b = boardPoint(viewPoint);
    switch (canvasMode_) {
    case kArrowMode: {
        dragInitialPoint_ = parentPoint - QPointF(dxOfset_, dyOfset_);
        lastPoint_ = p;
        mouseMode_ = kNoHandle;
        if (readOnly_) break;
        const PaintObjectPtr hit = objects_->topmostAt(truncated(b.x()), truncated(b.y()), kSelectionWidening);
        objects_->setSelected(hit);
        if (hit) {
            mouseMode_ = kMoveObject;
            if (!hit->isStroke()) {
                if (const std::int32_t handle = handleAt(*hit, b.x(), b.y())) mouseMode_ = handle;
            }
        }
        repaint();
        break;
    }
    case kDrawMode:
        if (readOnly_) break;
        newPaintObject_ = CreateNewTempShapeAt(rounded(b.x()), rounded(b.y()));
        if (newPaintObject_->isStroke()) newPaintObject_->FHandPoints.push_back({double(newPaintObject_->FX), double(newPaintObject_->FY)});
        repaint();
        break;
    case kPointerMode:
        if (readOnly_) break;
        surface_.showPointer(truncated(b.x()), truncated(b.y()), myPointer_);
        if (delegate_) delegate_->ActivePaint_Pointer(truncated(b.x()), truncated(b.y()), true, myPointer_);
        break;
    case kEraserMode:
        if (!readOnly_) eraseAt(b);
        break;
    default:
        break;
    }
}

void CanvasInteraction::mouseDragged(const QPointF& viewPoint, const QPointF& parentPoint) {
    const QPointF p = clampedOffset(viewPoint);
    const QPointF b = boardPoint(viewPoint);
    switch (canvasMode_) {
    case kDrawMode: {
        if (readOnly_ || !newPaintObject_) break;
        TPaintObject& o = *newPaintObject_;
        o.FX2 = truncated(b.x());
        o.FY2 = truncated(b.y());
        if (!o.isStroke()) {
            repaint();
            break;
        }
        const HandPoint previous = o.FHandPoints.empty() ? HandPoint{double(o.FX), double(o.FY)} : o.FHandPoints.back();
        const HandPoint next{double(o.FX2), double(o.FY2)};
        o.FHandPoints.push_back(next);
        const double offX = placement_.offsetX(), offY = placement_.offsetY();
        const double sx = placement_.scaleX, sy = placement_.scaleY;
        QColor color = toQColor(o.FColor);
        if (o.FTyp == kHighlighter) {
            color = toQColor(NewShapeFillColor);
            color.setAlphaF(0.3f);
        }
        surface_.drawLiveSegment(QPointF((previous.x + offX) * sx, (previous.y + offY) * sy),
                                 QPointF((next.x + offX) * sx, (next.y + offY) * sy), color, o.FPenWidth * sx);
        break;
    }
    case kPointerMode:
        if (readOnly_) break;
        surface_.showPointer(truncated(b.x()), truncated(b.y()), myPointer_);
        if (delegate_) delegate_->ActivePaint_Pointer(truncated(b.x()), truncated(b.y()), true, myPointer_);
        break;
    case kEraserMode:
        if (!readOnly_) eraseAt(b);
        break;
    case kArrowMode: {
        const PaintObjectPtr selected = objects_->selected();
        if (selected) {
            if (readOnly_) break;
            const double sx = placement_.scaleX, sy = placement_.scaleY;
            if (mouseMode_ == kMoveObject) {
                shiftObject(*selected, rounded(divided(p.x(), sx)) - rounded(divided(lastPoint_.x(), sx)),
                            rounded(divided(p.y(), sy)) - rounded(divided(lastPoint_.y(), sy)));
            } else if (mouseMode_ >= kTopLeft) {
                resizeByHandle(*selected, mouseMode_, divided(p.x(), sx), divided(p.y(), sy));
            }
            lastPoint_ = p;
            objects_->touch();
            repaint();
        } else {
            dxOfset_ = parentPoint.x() - dragInitialPoint_.x();
            dyOfset_ = parentPoint.y() - dragInitialPoint_.y();
            repaint();
        }
        break;
    }
    default:
        break;
    }
}

void CanvasInteraction::mouseUp(const QPointF& viewPoint) {
    mouseDown_ = false;
    switch (canvasMode_) {
    case kPointerMode:
        if (readOnly_) break;
        surface_.showPointer(0, 0, -1);
        if (delegate_) delegate_->ActivePaint_Pointer(0, 0, false, myPointer_);
        break;
    case kDrawMode:
        if (!readOnly_ && newPaintObject_) finishNewObject(viewPoint);
        break;
    case kArrowMode: {
        const PaintObjectPtr selected = objects_->selected();
        if (selected && mouseMode_ != kNoHandle && !readOnly_) reportUpdate(*selected);
        mouseMode_ = kNoHandle;
        break;
    }
    default:
        break;
    }
}

void CanvasInteraction::finishNewObject(const QPointF& viewPoint) {
    std::shared_ptr<TPaintObject> o = newPaintObject_;
    if (o->isStroke()) {
        double minX = std::min(o->FX, o->FX2), maxX = std::max(o->FX, o->FX2);
        double minY = std::min(o->FY, o->FY2), maxY = std::max(o->FY, o->FY2);
        for (const HandPoint& point : o->FHandPoints) {
            minX = std::min(minX, point.x);
            maxX = std::max(maxX, point.x);
            minY = std::min(minY, point.y);
            maxY = std::max(maxY, point.y);
        }
        o->FX = truncated(minX);
        o->FY = truncated(minY);
        o->FX2 = truncated(maxX);
        o->FY2 = truncated(maxY);
        surface_.clearLiveStroke();
    } else if (o->FTyp == kImage) {
        const std::optional<QImage> chosen = surface_.chooseImage();
        if (!chosen || chosen->isNull()) {
            newPaintObject_.reset();
            repaint();
            return;
        }
        const double w = std::abs(double(o->FX2) - o->FX);
        const double h = std::abs(double(o->FY2) - o->FY);
        // A click without a drag has no size to fit into; the picture keeps its own size then,
        // fitted into the board when it is larger.
        QRectF target(0, 0, w, h);
        if (w < 1 || h < 1) {
            const QRectF board(0, 0, divided(placement_.scaledRect.width(), placement_.scaleX),
                               divided(placement_.scaledRect.height(), placement_.scaleY));
            target = (chosen->width() <= board.width() && chosen->height() <= board.height()) || board.isEmpty()
                         ? QRectF(0, 0, chosen->width(), chosen->height())
                         : board;
        }
        const QSizeF fitted = aspectFit(QRectF(0, 0, chosen->width(), chosen->height()), target).size();
        const QSize size(std::max(1, int(fitted.width())), std::max(1, int(fitted.height())));
        o->normalizeCoordinates();
        o->FX2 = o->FX + size.width();
        o->FY2 = o->FY + size.height();
        o->FObjectImage = chosen->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        o->FImageType = 2;
    } else if (o->FTyp == kText) {
        newPaintObject_.reset();
        openTextTyper(QRectF(viewPoint, QSizeF(100, 25)));
        repaint();
        return;
    }
    objects_->append(o);
    reportNew(*o);
    newPaintObject_.reset();
    if (o->FTyp == kImage) SetCanvasMode(kArrowMode);
    repaint();
}

void CanvasInteraction::rightMouseUp(const QPointF& viewPoint) {
    if (!delegate_ || readOnly_) return;
    const QPoint at = viewPoint.toPoint();
    const PaintObjectPtr selected = objects_->selected();
    if (canvasMode_ == kArrowMode) {
        if (selected) {
            delegate_->ActivePaint_DetailsOfObject(*selected, at);
        } else {
            delegate_->ActivePaint_ShowPopUpAtPoint(at);
        }
    } else if (!selected) {
        delegate_->ActivePaint_ShowPopUpAtPoint(at);
    }
}

bool CanvasInteraction::keyDown(int key) {
    if (readOnly_) return false;
    const PaintObjectPtr selected = objects_->selected();
    if (canvasMode_ == kArrowMode && selected) {
        double dx = 0, dy = 0;
        switch (key) {
        case CanvasKey::Delete:
        case CanvasKey::ForwardDelete:
            DeleteSelected();
            return true;
        case CanvasKey::Up: dy = -10; break;
        case CanvasKey::Down: dy = 10; break;
        case CanvasKey::Left: dx = -10; break;
        case CanvasKey::Right: dx = 10; break;
        default: break;
        }
        if (dx != 0 || dy != 0) {
            shiftObject(*selected, dx, dy);
            objects_->touch();
            reportUpdate(*selected);
            repaint();
            return true;
        }
    }
    if (key == CanvasKey::Escape && canvasMode_ >= kDrawMode && canvasMode_ <= kEraserMode) {
        SetCanvasMode(kArrowMode);
        return true;
    }
    return false;
}

void CanvasInteraction::scrollBy(double dx, double dy) {
    dxOfset_ += dx;
    dyOfset_ += dy;
    repaint();
}

// ---- text

QFont CanvasInteraction::textTyperFont() const {
    QFont font(kTextFontName);
    const int pixels = NewShapeTextSize * 96 / 72;
    font.setPixelSize(std::max(1, static_cast<int>(pixels * placement_.scaleX)));
    return font;
}

void CanvasInteraction::openTextTyper(const QRectF& frame, const QString& text, bool multiLine) {
    if (surface_.hasTextField()) closeTextTyper(canvasMode_ == kDrawMode && newShapeType_ == kText);
    surface_.openTextField(frame, text, multiLine, textTyperFont(), toQColor(NewShapeFontColor));
}

void CanvasInteraction::closeTextTyper(bool create) {
    const std::optional<TextFieldContent> field = surface_.takeTextField();
    if (field && create) createTextFromField(*field);
}

void CanvasInteraction::textTyperReturn() {
    const std::optional<TextFieldContent> field = surface_.takeTextField();
    if (!field) return;
    createTextFromField(*field);
    if (canvasMode_ == kDrawMode) openTextTyper(QRectF(field->frame.x(), field->frame.y() + 25, 100, 25));
}

void CanvasInteraction::createTextFromField(const TextFieldContent& field) {
    if (readOnly_) return;
    if (field.text.isEmpty()) {
        objects_->setSelected(nullptr);
        repaint();
        return;
    }
    const double sx = placement_.scaleX, sy = placement_.scaleY;
    const double x = divided(field.frame.x() - placement_.scaledRect.x(), sx);
    const double y = divided(field.frame.y() - placement_.scaledRect.y(), sy);
    const double w = divided(field.frame.width(), sx);
    const double h = divided(field.frame.height(), sy);
    std::shared_ptr<TPaintObject> o = CreateNewTempShapeAt(truncated(x), truncated(y));
    o->FTyp = kText;
    o->FText = field.text.toStdString();
    o->FColor = NewShapeFontColor;
    o->FFont = VeltrinFont{kTextFontName.toStdString(), NewShapeTextSize, false, false, NewShapeFontColor};
    o->FX2 = truncated(o->FX + w);
    o->FY2 = truncated(o->FY + h);
    o->FMultiLine = false;
    objects_->append(o);
    reportNew(*o);
    objects_->setSelected(nullptr);
    repaint();
}

void CanvasInteraction::DisplayTextTyperForSelectedObject() {
    if (readOnly_) return;
    const PaintObjectPtr selected = objects_->selected();
    if (!selected) return;
    const IntRect r = selected->normalizedRect();
    const double sx = placement_.scaleX, sy = placement_.scaleY;
    const QRectF frame(placement_.scaledRect.x() + sx * r.x, placement_.scaledRect.y() + sy * r.y,
                       std::trunc(sx * r.width), std::trunc(sy * r.height));
    openTextTyper(frame, QString::fromStdString(selected->FText), selected->FMultiLine);
    DeleteSelected();
}

void CanvasInteraction::PasteTextObject(const QString& text, const QPointF& boardPoint, bool switchToBrowse) {
    if (readOnly_ || text.isEmpty()) return;
    std::shared_ptr<TPaintObject> o = CreateNewTempShapeAt(truncated(boardPoint.x()), truncated(boardPoint.y()));
    o->FTyp = kText;
    o->FText = text.toStdString();
    o->FColor = NewShapeFontColor;
    QFont font(kTextFontName);
    font.setPixelSize(std::max(1, NewShapeTextSize));
    const QRect bounds = QFontMetrics(font).boundingRect(QRect(0, 0, 300, INT_MAX / 4), Qt::TextWordWrap, text);
    o->FX2 = o->FX + bounds.width();
    o->FY2 = o->FY + bounds.height();
    o->FMultiLine = true;
    objects_->append(o);
    reportNew(*o);
    objects_->setSelected(o);
    if (switchToBrowse) SetCanvasMode(kArrowMode);
    repaint();
}

void CanvasInteraction::PlaceImageObject(const QImage& image, const QPointF& boardPoint) {
    if (readOnly_ || image.isNull()) return;
    auto o = std::make_shared<TPaintObject>(myUid_, newObjectId(), objects_->boardIndex());
    o->FTyp = kImage;
    o->FColor = NewShapeOutlineColor;
    o->FBackColor = NewShapeFillColor;
    o->FPenWidth = NewShapeOutlineWidth;
    o->FX = truncated(boardPoint.x());
    o->FY = truncated(boardPoint.y());
    o->FX2 = truncated(boardPoint.x() + image.width());
    o->FY2 = truncated(boardPoint.y() + image.height());
    o->FFont = VeltrinFont{"Tahoma", NewShapeTextSize, false, false, NewShapeFontColor};
    o->FObjectImage = image;
    o->FImageType = 2;
    objects_->append(o);
    reportNew(*o);
    objects_->setSelected(o);
    SetCanvasMode(kArrowMode);
    repaint();
}

}  // namespace veltrin::wb
