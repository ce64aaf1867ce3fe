#include "classroom/audio/VolumeSlider.h"

#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>

namespace veltrin {

VolumeSlider::VolumeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void VolumeSlider::setProgressValues(int current, int min, int max, const QColor& color) {
    // Levels arrive several times a second; an unchanged bar is not repainted.
    if (current == current_ && min == min_ && max == max_ && color == color_) return;
    current_ = current;
    min_ = min;
    max_ = max;
    color_ = color;
    update();
}

void VolumeSlider::setProgressColor(const QColor& color) {
    color_ = color;
    update();
}

int VolumeSlider::progressWidth(int barWidth) const {
    if (max_ <= min_) return 0;
    const double share = std::clamp(double(current_) / double(max_ - min_), 0.0, 1.0);
    return static_cast<int>(std::lround(share * (barWidth - 4)));
}

void VolumeSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (!color_.isValid() || max_ <= min_) return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const int width = progressWidth(groove.width());
    if (width <= 0) return;
    QPainter painter(this);
    painter.setPen(color_.darker());
    painter.setBrush(color_);
    painter.drawRect(QRect(groove.left() + 2, groove.bottom() - 2, width, 1));
}

}  // namespace veltrin
