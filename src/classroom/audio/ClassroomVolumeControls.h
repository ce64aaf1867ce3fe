#pragma once

#include <QWidget>

class QLabel;

namespace veltrin {

class VolumeSlider;

// The classroom tool bar's speaker and microphone volume sliders, each with its live level, and
// the indicator that the microphone level is set automatically. It only shows: the audio feature
// decides values, levels and which parts are usable.
class ClassroomVolumeControls final : public QWidget {
public:
    explicit ClassroomVolumeControls(QWidget* parent = nullptr);

    VolumeSlider* wavSlider() const { return wavSlider_; }
    VolumeSlider* micSlider() const { return micSlider_; }
    QLabel* automaticIndicator() const { return automatic_; }
    // The microphone's slider, caption and indicator come and go together with the microphone.
    void setMicrophoneShown(bool shown);
    bool isMicrophoneShown() const;
    // Levels of 0..kPeakLevelMax: speaker in green, microphone in blue.
    void showLevels(int wavPeak, int micPeak);

private:
    QLabel* wavCaption_;
    VolumeSlider* wavSlider_;
    QLabel* micCaption_;
    VolumeSlider* micSlider_;
    QLabel* automatic_;
};

}  // namespace veltrin
