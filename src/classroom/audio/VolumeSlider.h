#pragma once

#include <QColor>
#include <QSlider>

namespace veltrin {

// The gain steps a volume slider offers: twice the neutral step, as tan(1.57) is the loudest
// sensible gain.
inline constexpr int kVolumeStepMax = 157;
inline constexpr int kVolumeStepNeutral = 79;
// The largest peak a device reports: the top of every level bar.
inline constexpr int kPeakLevelMax = 32767;

// A horizontal volume slider that also shows a live level: under its groove a bar one pixel high,
// as long as the level is of the range, in the level colour (no colour: no bar).
class VolumeSlider final : public QSlider {
public:
    explicit VolumeSlider(QWidget* parent = nullptr);

    void setProgressValues(int current, int min, int max, const QColor& color);
    void setProgressColor(const QColor& color);
    int progressCurrentValue() const { return current_; }
    int progressMaxValue() const { return max_; }
    QColor progressColor() const { return color_; }
    // The bar's width for a groove `barWidth` wide: round(current / (max - min) * (barWidth - 4)).
    int progressWidth(int barWidth) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int current_ = 0;
    int min_ = 0;
    int max_ = 100;
    QColor color_;
};

}  // namespace veltrin
