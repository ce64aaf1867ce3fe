#include "whiteboard/TActivePaintBox.h"

#include <algorithm>

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "app/core/Resources.h"
#include "platform/KeyCodes.h"
#include "whiteboard/CanvasCursors.h"
#include "whiteboard/CanvasTextField.h"
#include "whiteboard/ImageCodec.h"
#include "whiteboard/PaintObjectRenderer.h"
#include "wire/Log.h"

namespace veltrin::wb {

namespace {

QPixmap pointerPixmap(int index) {
    QPixmap pixmap;
    const QString path = resourcePath(ResourceFolder::Icons, PaintObjectRenderer::pointerImageName(index));
    if (!path.isEmpty() && pixmap.load(path)) return pixmap.scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // Without the resource files the pointer is still visible.
    pixmap = QPixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(220, 30, 30, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(4, 4, 16, 16));
    return pixmap;
}

}  // namespace

TActivePaintBox::TActivePaintBox(QWidget* parent)
    : QWidget(parent), logic_(*this), pointerOverlay_(new QLabel(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    appearance_.originalW = 1600;
    appearance_.originalH = 1200;
    appearance_.scaleType = kFitBoard;
    appearance_.boardLoaded = true;
    pointerOverlay_->setAttribute(Qt::WA_TransparentForMouseEvents);
    pointerOverlay_->resize(24, 24);
    pointerOverlay_->hide();
    logic_.updateCursor();
}

TActivePaintBox::~TActivePaintBox() {
    // The field must not report its loss of focus to a canvas being destroyed.
    if (textField_) textField_->disconnect(this);
}

void TActivePaintBox::setBoardSize(std::int32_t originalW, std::int32_t originalH) {
    appearance_.originalW = originalW;
    appearance_.originalH = originalH;
    update();
}

void TActivePaintBox::setScaleType(std::int32_t scaleType) {
    appearance_.scaleType = scaleType;
    logic_.resetPan();
    update();
}

BoardPlacement TActivePaintBox::currentPlacement() const {
    return placeBoard(QSizeF(size()), appearance_.originalW, appearance_.originalH, appearance_.scaleType,
                      logic_.dxOfset(), logic_.dyOfset());
}

void TActivePaintBox::syncPlacement() { logic_.setPlacement(currentPlacement()); }

void TActivePaintBox::SetReadOnly(bool readOnly) {
    if (readOnly && textField_) logic_.closeTextTyper(false);
    logic_.SetReadOnly(readOnly);
    setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
}

// ---- painting

void TActivePaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    appearance_.dxOfset = logic_.dxOfset();
    appearance_.dyOfset = logic_.dyOfset();
    const TPaintObject* inProgress = logic_.CanvasMode() == kDrawMode ? logic_.newPaintObject() : nullptr;
    const BoardPlacement placement = renderer_.paint(p, size(), appearance_, logic_.objects(), inProgress);
    logic_.setPlacement(placement);
    if (!liveDirty_.isEmpty()) p.drawImage(QPointF(0, 0), liveLayer_);
    placePointerOverlay();
}

QImage TActivePaintBox::boardImage() const {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    BoardAppearance a = appearance_;
    a.dxOfset = logic_.dxOfset();
    a.dyOfset = logic_.dyOfset();
    BoardRenderer::paintDirect(p, size(), a, logic_.objects(), nullptr);
    return image;
}

void TActivePaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    syncPlacement();
    placePointerOverlay();
}

void TActivePaintBox::drawLiveSegment(const QPointF& from, const QPointF& to, const QColor& color, double width) {
    const qreal dpr = devicePixelRatioF();
    if (liveLayer_.size() != size() * dpr) {
        liveLayer_ = QImage(size() * dpr, QImage::Format_ARGB32_Premultiplied);
        liveLayer_.setDevicePixelRatio(dpr);
        liveLayer_.fill(Qt::transparent);
        liveDirty_ = QRect();
    }
    QPainter p(&liveLayer_);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(color);
    pen.setWidthF(width);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(from, to);
    const int margin = static_cast<int>(width / 2) + 2;
    const QRect dirty = QRectF(from, to).normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
    liveDirty_ |= dirty;
    update(dirty);
}

void TActivePaintBox::clearLiveStroke() {
    if (liveDirty_.isEmpty()) return;
    QPainter p(&liveLayer_);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(liveDirty_, Qt::transparent);
    update(liveDirty_);
    liveDirty_ = QRect();
}

// ---- pointer

void TActivePaintBox::showPointer(std::int32_t x, std::int32_t y, std::int32_t pointerIndex) {
    showPointerAt(x, y, pointerIndex >= 0, pointerIndex);
}

void TActivePaintBox::showPointerAt(std::int32_t x, std::int32_t y, bool show, std::int32_t index) {
    if (!show) {
        pointerOverlay_->hide();
        pointerIndex_ = -1;
        loadedPointerIndex_ = -1;
        return;
    }
    pointerX_ = std::max(0, x);
    pointerY_ = std::max(0, y);
    pointerIndex_ = index;
    if (loadedPointerIndex_ != index) {
        pointerOverlay_->setPixmap(pointerPixmap(index));
        loadedPointerIndex_ = index;
    }
    placePointerOverlay();
    pointerOverlay_->show();
    pointerOverlay_->raise();
}

bool TActivePaintBox::pointerShown() const { return !pointerOverlay_->isHidden(); }
QRect TActivePaintBox::pointerOverlayFrame() const { return pointerOverlay_->geometry(); }

void TActivePaintBox::placePointerOverlay() {
    if (pointerIndex_ < 0) return;
    pointerOverlay_->setGeometry(pointerFrame(logic_.placement(), pointerX_, pointerY_));
}

// ---- input

void TActivePaintBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return QWidget::mousePressEvent(event);
    pressedRight_ = event->button() == Qt::RightButton;
    if (!ReadOnly()) setFocus(Qt::MouseFocusReason);
    syncPlacement();
    logic_.mouseDown(event->position(), mapToParent(event->position()));
    event->accept();
}

void TActivePaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & (Qt::LeftButton | Qt::RightButton))) return QWidget::mouseMoveEvent(event);
    logic_.mouseDragged(event->position(), mapToParent(event->position()));
    event->accept();
}

void TActivePaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return QWidget::mouseReleaseEvent(event);
    logic_.mouseUp(event->position());
    if (event->button() == Qt::RightButton && pressedRight_) logic_.rightMouseUp(event->position());
    pressedRight_ = false;
    event->accept();
}

void TActivePaintBox::wheelEvent(QWheelEvent* event) {
    const QPointF delta = !event->pixelDelta().isNull() ? QPointF(event->pixelDelta())
                                                        : QPointF(event->angleDelta()) / 8.0;
    logic_.scrollBy(delta.x(), delta.y());
    event->accept();
}

void TActivePaintBox::keyPressEvent(QKeyEvent* event) {
    const int key = virtualKeyFromQtKey(event->key(), event->modifiers().testFlag(Qt::KeypadModifier));
    if (key >= 0 && logic_.keyDown(key)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---- text field

void TActivePaintBox::openTextField(const QRectF& frame, const QString& text, bool multiLine, const QFont& font,
                                    const QColor& color) {
    Q_UNUSED(multiLine);
    auto* field = new CanvasTextField(this);
    field->setFont(font);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, color);
    field->setPalette(palette);
    field->setGeometry(frame.toRect());
    field->setText(text);
    textField_ = field;
    connect(field, &QLineEdit::returnPressed, this, [this] { logic_.textTyperReturn(); });
    connect(field, &CanvasTextField::escapePressed, this, [this] { logic_.textTyperEscape(); });
    connect(field, &CanvasTextField::focusLost, this, [this] { logic_.closeTextTyper(true); });
    field->show();
    field->setFocus(Qt::OtherFocusReason);
}

std::optional<TextFieldContent> TActivePaintBox::takeTextField() {
    if (!textField_) return std::nullopt;
    CanvasTextField* field = textField_;
    textField_ = nullptr;
    field->disconnect(this);
    TextFieldContent content{QRectF(field->geometry()), field->text()};
    field->hide();
    field->deleteLater();
    if (!ReadOnly()) setFocus(Qt::OtherFocusReason);
    return content;
}

// ---- picture and cursor

std::optional<QImage> TActivePaintBox::chooseImage() {
    if (imageChooser_) return imageChooser_();
    const QString path = QFileDialog::getOpenFileName(this, tr("Choose a picture"), QString(),
                                                      tr("Images (*.jpg *.jpeg *.png *.gif)"));
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > static_cast<qint64>(ImageCodec::kMaxEncodedBytes)) {
        logf("picture not readable: %s", qPrintable(path));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    return ImageCodec::decode(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size())));
}

void TActivePaintBox::applyCursor(const CursorChoice& cursor) {
    if (cursor.set) setCursor(loadCursor(cursor));
}

}  // namespace veltrin::wb
