#pragma once

#include <QLineEdit>

namespace veltrin::wb {

// The in-place field in which text is typed on the canvas. Its width follows its text; Return,
// Escape and the loss of focus are reported so the canvas decides what becomes of the text.
class CanvasTextField final : public QLineEdit {
    Q_OBJECT

public:
    explicit CanvasTextField(QWidget* parent);

signals:
    void escapePressed();
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void fitWidthToText();
};

}  // namespace veltrin::wb
