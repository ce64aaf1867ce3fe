#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

class QAction;
class QLabel;
class QSplitter;
class QStackedWidget;
class QToolButton;
class QSlider;
class QVBoxLayout;

namespace veltrin {

class ClassroomVolumeControls;
class Toast;

// The buttons of the classroom's main tool bar (and the playback controls).
enum class ClassroomControl {
    WhiteboardView,
    SharedScreenView,
    WebView,
    Notes,
    Polling,
    Breakout,
    FileLibrary,
    Presentations,
    MyWebcam,
    Microphone,
    AudioTest,
    RecorderStartStop,
    RecorderPause,
    ClearMotions,
    FullScreen,
    Close,
    PlayPause,
    Count
};

// The three views of the main area, by the numbers the protocol uses.
namespace ClassroomPage {
inline constexpr int Whiteboard = 0;
inline constexpr int WebBrowser = 1;
inline constexpr int SharedScreen = 2;
}  // namespace ClassroomPage

// The classroom's content in the main window: the main tool bar with its labels and counters, the
// side panel (participants above the text chat) beside the main area with its three stacked views,
// the heads-up panel shown while connecting, toasts and blinks. It shows what the controller tells
// it and forwards the user's actions; it decides nothing.
class ClassroomView final : public QWidget {
    Q_OBJECT

public:
    explicit ClassroomView(QWidget* parent = nullptr);
    ~ClassroomView() override;

    QToolButton* button(ClassroomControl control) const;
    void setControlEnabled(ClassroomControl control, bool enabled);
    void setControlVisible(ClassroomControl control, bool visible);
    // The playback set: play/pause and a position slider instead of the session controls.
    void setPlaybackMode(bool playback);
    QSlider* positionSlider() const { return position_; }
    // The speaker and microphone volume sliders with their levels, beside the classroom name.
    ClassroomVolumeControls* volumeControls() const { return volumes_; }

    void setStatusText(const QString& text);
    QString statusText() const;
    void setClassroomName(const QString& name);
    void setSessionTime(const QString& text);
    void setCounters(int hands, int yes, int no);
    QString countersText() const;

    // The heads-up panel (150 × 100) over the middle of the view.
    void showHud(const QString& text);
    void closeHud();
    bool isHudShown() const;
    QString hudText() const;

    // The side panel: the participant list and the text chat fill these holders (empty layouts).
    QWidget* participantsHolder() const { return participantsHolder_; }
    QWidget* chatHolder() const { return chatHolder_; }

    // The main area's pages; the whiteboard page shows the canvas once one is set.
    QWidget* page(int view) const;
    void setWhiteboardCanvas(QWidget* canvas);
    bool hasWhiteboardCanvas() const { return canvas_ != nullptr; }
    void showPage(int view);
    int visiblePage() const;

    // Full screen: the main area takes the whole view and the side panel hides; leaving restores
    // the divider where it was.
    void setFullScreenView(bool on);
    bool isFullScreenView() const { return fullScreen_; }

    void showToast(const QString& text, double seconds);
    QString toastText() const;
    void blinkControl(ClassroomControl control);

signals:
    void controlTriggered(ClassroomControl control);
    void exitRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* addButton(ClassroomControl control, const QString& text, const QString& accessibleName);
    void placeOverlays();

    std::array<QToolButton*, static_cast<int>(ClassroomControl::Count)> buttons_{};
    QLabel* classroomName_;
    QLabel* sessionTime_;
    QLabel* status_;
    QLabel* counters_;
    QSlider* position_;
    ClassroomVolumeControls* volumes_;
    QAction* positionAction_ = nullptr;
    QSplitter* splitter_;
    QWidget* sidePanel_;
    QWidget* participantsHolder_;
    QWidget* chatHolder_;
    QStackedWidget* pages_;
    QWidget* whiteboardPage_;
    QWidget* canvas_ = nullptr;
    QLabel* hud_;
    QPointer<Toast> toast_;
    bool fullScreen_ = false;
    QList<int> storedSplit_;
};

}  // namespace veltrin
