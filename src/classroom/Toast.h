#pragma once

#include <QLabel>
#include <QPointer>

class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QTimer;

namespace veltrin {

// A short notice over the bottom of a window: white text in the 13-point system font on a dark
// grey rounded rectangle 1.3 times as wide as the text and 20 points taller, centred 50 points
// above the window's bottom edge. It fades in to 0.9, stays for its time and fades out; a time of
// 0 or less keeps it until it is closed or replaced.
class Toast final : public QLabel {
    Q_OBJECT

public:
    explicit Toast(QWidget* window);

    void present(const QString& text, double seconds);
    void dismiss();
    bool isPresented() const { return presented_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    void fadeTo(double opacity, bool closeAfter);

    QGraphicsOpacityEffect* opacity_;
    QPropertyAnimation* fade_;
    QTimer* timer_;
    bool presented_ = false;
};

// Draws attention to a control: its opacity goes to 0.1 over 0.3 s and, 0.3 s later, back to 1.0
// over 0.3 s.
void blink(QWidget* control);

}  // namespace veltrin
