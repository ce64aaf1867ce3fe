#include "whiteboard/WhiteboardToolBar.h"

#include <QColorDialog>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/core/Resources.h"
#include "whiteboard/TPaintObject.h"

namespace veltrin::wb {

namespace {

QIcon resourceIcon(const QString& name) {
    const QString path = resourcePath(ResourceFolder::Icons, name);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

struct ShapeItem {
    const char* title;
    std::int32_t kind;
    const char* icon;
};

// In menu order; a null title is a separator.
constexpr ShapeItem kShapes[] = {
    {"Rectangle", kRectangle, "dt_rectangle.png"},
    {"Filled Rectangle", kFilledRectangle, "dt_rectanglefilled.png"},
    {nullptr, 0, nullptr},
    {"Oval", kOval, "dt_oval.png"},
    {"Filled Oval", kFilledOval, "dt_ovalfilled.png"},
    {nullptr, 0, nullptr},
    {"Triangle", kTriangle, "dt_triangle.png"},
    {"Pentagon", kPentagon, "dt_pentagon.png"},
    {"Hexagon", kHexagon, "dt_hexagon.png"},
    {"Diamond", kDiamond, "dt_diamond.png"},
    {"Parallelogram", kParallelogram, "dt_parallelogram.png"},
    {"Trapezium", kTrapezium, "dt_trapezium.png"},
    {"Cone", kCone, "dt_cone.png"},
    {"Cylinder", kCylinder, "dt_cyl.png"},
};

QString shapeIconName(std::int32_t kind) {
    for (const ShapeItem& item : kShapes)
        if (item.title && item.kind == kind) return QString::fromLatin1(item.icon);
    return {};
}

QIcon swatch(const QColor& color) {
    QPixmap pixmap(20, 14);
    pixmap.fill(color);
    QPainter p(&pixmap);
    p.setPen(Qt::darkGray);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

}  // namespace

ColorButton::ColorButton(const QString& title, QColor color, QWidget* parent) : QToolButton(parent), color_(color) {
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setTitle(title);
    setIcon(swatch(color_));
    connect(this, &QToolButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(color_, this, text());
        if (chosen.isValid()) setColor(chosen);
    });
}

void ColorButton::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    setIcon(swatch(color_));
    emit colorChanged(color_);
}

void ColorButton::setTitle(const QString& title) {
    setText(title);
    setAccessibleName(title);
}

WhiteboardToolBar::WhiteboardToolBar(QWidget* parent)
    : QWidget(parent),
      shapeMenu_(new QMenu(QStringLiteral("Shape Selector Menu"), this)),
      pointerMenu_(new QMenu(QStringLiteral("Pointer Selector Menu"), this)),
      lineColor_(new ColorButton(QStringLiteral("Color"), Qt::black, this)),
      fillColor_(new ColorButton(QStringLiteral("Fill"), Qt::yellow, this)),
      widthLabel_(new QLabel(QStringLiteral("Width"), this)),
      width_(new QSpinBox(this)),
      widthValue_(new QLabel(this)) {
    setObjectName(QStringLiteral("whiteboardToolBar"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    // Tags: creating tools carry their kind; arrow, pointer and eraser a tag that hides the settings.
    addTool(Tool::Arrow, QStringLiteral("Arrow"), -1);
    addTool(Tool::Line, QStringLiteral("Line"), kLine);
    addTool(Tool::Pencil, QStringLiteral("Pencil"), kPencil);
    addTool(Tool::Marker, QStringLiteral("Marker"), kHighlighter);
    addTool(Tool::Text, QStringLiteral("Text"), kText);
    addTool(Tool::Image, QStringLiteral("Image"), kImage);
    addTool(Tool::Grid, QStringLiteral("Grid"), kGrid);
    addTool(Tool::Shape, QStringLiteral("Shape"), kRectangle);
    addTool(Tool::ShapeSelector, QStringLiteral("Shapes"), -1);
    addTool(Tool::Pointer, QStringLiteral("Pointer"), -1);
    addTool(Tool::PointerSelector, QStringLiteral("Pointers"), -1);
    addTool(Tool::Eraser, QStringLiteral("Eraser"), -1);
    setShape(kRectangle);
    setPointerImage(2);

    layout->addSpacing(6);
    layout->addWidget(lineColor_);
    layout->addWidget(fillColor_);
    layout->addWidget(widthLabel_);
    width_->setRange(1, 100);
    width_->setAccessibleName(QStringLiteral("Width"));
    layout->addWidget(width_);
    layout->addWidget(widthValue_);
    layout->addStretch(1);

    buildShapeMenu();
    buildPointerMenu();
    connect(lineColor_, &ColorButton::colorChanged, this, [this] { emit colorsChanged(); });
    connect(fillColor_, &ColorButton::colorChanged, this, [this] { emit colorsChanged(); });
    connect(width_, &QSpinBox::valueChanged, this, [this](int value) { emit penWidthChanged(value); });
    connect(button(Tool::ShapeSelector), &QToolButton::clicked, this, [this] {
        shapeMenu_->popup(button(Tool::ShapeSelector)->mapToGlobal(QPoint(0, button(Tool::ShapeSelector)->height())));
    });
    connect(button(Tool::PointerSelector), &QToolButton::clicked, this, [this] {
        pointerMenu_->popup(
            button(Tool::PointerSelector)->mapToGlobal(QPoint(0, button(Tool::PointerSelector)->height())));
    });
}

QToolButton* WhiteboardToolBar::addTool(Tool tool, const QString& text, std::int32_t tag) {
    auto* b = new QToolButton(this);
    b->setText(text);
    b->setAccessibleName(text);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const int i = static_cast<int>(tool);
    buttons_[i] = b;
    tags_[i] = tag;
    layout()->addWidget(b);
    if (tool != Tool::ShapeSelector && tool != Tool::PointerSelector)
        connect(b, &QToolButton::clicked, this, [this, tool] { emit toolTriggered(tool); });
    return b;
}

void WhiteboardToolBar::buildShapeMenu() {
    for (const ShapeItem& item : kShapes) {
        if (!item.title) {
            shapeMenu_->addSeparator();
            continue;
        }
        QAction* action = shapeMenu_->addAction(resourceIcon(QString::fromLatin1(item.icon)), QString::fromLatin1(item.title));
        action->setData(item.kind);
        const std::int32_t kind = item.kind;
        connect(action, &QAction::triggered, this, [this, kind] { emit shapeChosen(kind); });
    }
}

void WhiteboardToolBar::buildPointerMenu() {
    for (std::int32_t index = 0; index < 8; ++index) {
        QAction* action = pointerMenu_->addAction(resourceIcon(QStringLiteral("ptbtn%1.png").arg(index)), QString());
        action->setData(index);
        action->setToolTip(QStringLiteral("Pointer %1").arg(index));
        connect(action, &QAction::triggered, this, [this, index] { emit pointerChosen(index); });
    }
}

QToolButton* WhiteboardToolBar::button(Tool tool) const { return buttons_[static_cast<int>(tool)]; }
std::int32_t WhiteboardToolBar::tagOf(Tool tool) const { return tags_[static_cast<int>(tool)]; }

void WhiteboardToolBar::setShape(std::int32_t kind) {
    tags_[static_cast<int>(Tool::Shape)] = kind;
    button(Tool::Shape)->setIcon(resourceIcon(shapeIconName(kind)));
}

void WhiteboardToolBar::setPointerImage(std::int32_t index) {
    button(Tool::Pointer)->setIcon(resourceIcon(QStringLiteral("ptbtn%1.png").arg(index)));
}

int WhiteboardToolBar::stepperValue() const { return width_->value(); }

void WhiteboardToolBar::setStepperValue(int value) {
    const QSignalBlocker block(width_);
    width_->setValue(value);
    widthValue_->setText(QString::number(width_->value()));
}

void WhiteboardToolBar::markChosen(Tool pressed) {
    for (int i = 0; i < 12; ++i) buttons_[i]->setEnabled(true);
    button(pressed)->setEnabled(false);
}

}  // namespace veltrin::wb
