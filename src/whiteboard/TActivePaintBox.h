#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "whiteboard/BoardRenderer.h"
#include "whiteboard/CanvasInteraction.h"
#include "whiteboard/CanvasTextField.h"

class QLabel;

namespace veltrin::wb {

// The drawing canvas: shows the board (from the renderer's kept picture), forwards mouse, wheel and
// key input to its CanvasInteraction, and shows what the interaction asks for — strokes as they
// are drawn, the text field, the pointer overlay and the cursor.
class TActivePaintBox final : public QWidget, private CanvasSurface {
    Q_OBJECT

public:
    explicit TActivePaintBox(QWidget* parent = nullptr);
    ~TActivePaintBox() override;

    CanvasInteraction& interaction() { return logic_; }
    const CanvasInteraction& interaction() const { return logic_; }
    PaintObjectList& objects() const { return logic_.objects(); }

    // ---- the board's look (Part of the board set; the canvas keeps it for painting)
    BoardAppearance& appearance() { return appearance_; }
    const BoardAppearance& appearance() const { return appearance_; }
    void setBoardSize(std::int32_t originalW, std::int32_t originalH);
    // Resets the pan offsets.
    void setScaleType(std::int32_t scaleType);
    // The placement for the current size and offsets (the same the next paint will use).
    BoardPlacement currentPlacement() const;

    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return logic_.ReadOnly(); }

    // The remote (or local) pointer overlay at a board point; a hidden pointer forgets its image.
    void showPointerAt(std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex);
    std::int32_t pointerIndex() const { return pointerIndex_; }
    QPoint pointerPosition() const { return {pointerX_, pointerY_}; }
    bool pointerShown() const;
    QRect pointerOverlayFrame() const;

    // Replaces the file picker of the picture tool (tests, other callers).
    void setImageChooser(std::function<std::optional<QImage>()> chooser) { imageChooser_ = std::move(chooser); }
    CanvasTextField* textField() const { return textField_; }

    // The board as it is painted now (without the stroke in progress), at the widget's size.
    QImage boardImage() const;
    BoardRenderer& renderer() { return renderer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // CanvasSurface
    void requestRepaint() override { update(); }
    void drawLiveSegment(const QPointF& from, const QPointF& to, const QColor& color, double width) override;
    void clearLiveStroke() override;
    void openTextField(const QRectF& frame, const QString& text, bool multiLine, const QFont& font,
                       const QColor& color) override;
    std::optional<TextFieldContent> takeTextField() override;
    bool hasTextField() const override { return textField_ != nullptr; }
    std::optional<QImage> chooseImage() override;
    void applyCursor(const CursorChoice& cursor) override;
    void showPointer(std::int32_t x, std::int32_t y, std::int32_t pointerIndex) override;

    void syncPlacement();
    void placePointerOverlay();

    CanvasInteraction logic_;
    BoardAppearance appearance_;
    BoardRenderer renderer_;
    QImage liveLayer_;
    QRect liveDirty_;
    QPointer<CanvasTextField> textField_;
    QLabel* pointerOverlay_;
    std::int32_t pointerX_ = 0;
    std::int32_t pointerY_ = 0;
    std::int32_t pointerIndex_ = -1;         // FPointerIndex
    std::int32_t loadedPointerIndex_ = -1;   // FCurrentPointerIndex
    std::function<std::optional<QImage>()> imageChooser_;
    bool pressedRight_ = false;
};

}  // namespace veltrin::wb
