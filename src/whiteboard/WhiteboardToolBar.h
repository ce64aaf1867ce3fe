#pragma once

#include <cstdint>

#include <QColor>
#include <QToolButton>
#include <QWidget>

class QLabel;
class QMenu;
class QSpinBox;
class QToolButton;

namespace veltrin::wb {

// A button showing a colour; clicking it asks for another.
class ColorButton final : public QToolButton {
    Q_OBJECT

public:
    ColorButton(const QString& title, QColor color, QWidget* parent);
    QColor color() const { return color_; }
    void setColor(const QColor& color);
    void setTitle(const QString& title);

signals:
    void colorChanged(const QColor& color);

private:
    QColor color_;
};

// The whiteboard's tool bar: the tools, the shape and pointer selectors, the line and fill colours
// and the width stepper. It shows what the controller tells it and reports what was pressed; the
// rules of what each tool does are the controller's.
class WhiteboardToolBar final : public QWidget {
    Q_OBJECT

public:
    enum class Tool { Arrow, Line, Pencil, Marker, Text, Image, Grid, Shape, ShapeSelector, Pointer, PointerSelector, Eraser };

    explicit WhiteboardToolBar(QWidget* parent = nullptr);

    QToolButton* button(Tool tool) const;
    std::int32_t tagOf(Tool tool) const;
    // The shape button carries the last chosen shape's kind and icon.
    void setShape(std::int32_t kind);
    void setPointerImage(std::int32_t index);

    ColorButton* lineColorButton() const { return lineColor_; }
    ColorButton* fillColorButton() const { return fillColor_; }
    QSpinBox* widthStepper() const { return width_; }
    QLabel* widthLabel() const { return widthLabel_; }
    QLabel* widthValue() const { return widthValue_; }
    int stepperValue() const;
    // Sets the stepper without reporting a change.
    void setStepperValue(int value);

    // Enables every tool and disables `pressed` (the disabled button shows the chosen tool).
    void markChosen(Tool pressed);
    // The menus as built ("Shape Selector Menu" with kinds as item data, "Pointer Selector Menu").
    QMenu* shapeMenu() const { return shapeMenu_; }
    QMenu* pointerMenu() const { return pointerMenu_; }

signals:
    void toolTriggered(veltrin::wb::WhiteboardToolBar::Tool tool);
    void shapeChosen(std::int32_t kind);
    void pointerChosen(std::int32_t index);
    void colorsChanged();
    void penWidthChanged(int value);

private:
    QToolButton* addTool(Tool tool, const QString& text, std::int32_t tag);
    void buildShapeMenu();
    void buildPointerMenu();

    QToolButton* buttons_[12] = {};
    std::int32_t tags_[12] = {};
    QMenu* shapeMenu_;
    QMenu* pointerMenu_;
    ColorButton* lineColor_;
    ColorButton* fillColor_;
    QLabel* widthLabel_;
    QSpinBox* width_;
    QLabel* widthValue_;
};

}  // namespace veltrin::wb
