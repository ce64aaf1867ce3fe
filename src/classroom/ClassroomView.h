#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace veltrin {

// The classroom's content in the main window: the status line with the Exit button, the
// participant list, the heads-up panel shown while connecting, and toasts. It only shows what the
// controller tells it and forwards the user's actions.
class ClassroomView final : public QWidget {
    Q_OBJECT

public:
    explicit ClassroomView(QWidget* parent = nullptr);

    void setStatusText(const QString& text);
    QString statusText() const;

    // The heads-up panel (150 × 100) over the middle of the view.
    void showHud(const QString& text);
    void closeHud();
    bool isHudShown() const;
    QString hudText() const;

    void setParticipants(const QStringList& names);
    QStringList participantNames() const;

    void showToast(const QString& text, double seconds);
    QString toastText() const;

signals:
    void exitRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeOverlays();

    QLabel* status_;
    QPushButton* exit_;
    QListWidget* participants_;
    QLabel* hud_;
    QLabel* toast_;
    QTimer* toastTimer_;
};

}  // namespace veltrin
