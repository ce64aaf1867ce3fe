#include "whiteboard/CanvasTextField.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

namespace veltrin::wb {

CanvasTextField::CanvasTextField(QWidget* parent) : QLineEdit(parent) {
    setFrame(true);
    connect(this, &QLineEdit::textChanged, this, &CanvasTextField::fitWidthToText);
}

void CanvasTextField::fitWidthToText() {
    resize(QFontMetrics(font()).horizontalAdvance(text()) + 30, height());
}

void CanvasTextField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        emit escapePressed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CanvasTextField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A pop-up (the field's own context menu) takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason) emit focusLost();
}

}  // namespace veltrin::wb
