#include "classroom/audio/ClassroomVolumeControls.h"

#include <QHBoxLayout>
#include <QLabel>

#include "classroom/audio/VolumeSlider.h"

namespace veltrin {

namespace {

const QColor kSpeakerLevelColour(Qt::green);
const QColor kMicrophoneLevelColour(Qt::blue);
// Wide enough to set a volume by hand, narrow enough to leave the tool bar its buttons.
constexpr int kSliderWidth = 96;

VolumeSlider* makeSlider(const QString& objectName, const QString& accessibleName, const QColor& levelColour,
                         QWidget* parent) {
    auto* slider = new VolumeSlider(parent);
    slider->setObjectName(objectName);
    slider->setAccessibleName(accessibleName);
    slider->setToolTip(accessibleName);
    slider->setRange(0, kVolumeStepMax);
    slider->setValue(kVolumeStepNeutral);
    slider->setPageStep(10);
    slider->setFixedWidth(kSliderWidth);
    slider->setFocusPolicy(Qt::TabFocus);
    slider->setProgressValues(0, 0, kPeakLevelMax, levelColour);
    return slider;
}

}  // namespace

ClassroomVolumeControls::ClassroomVolumeControls(QWidget* parent)
    : QWidget(parent),
      wavCaption_(new QLabel(tr("Speaker"), this)),
      wavSlider_(makeSlider(QStringLiteral("wavVolumeSlider"), tr("Speaker volume"), kSpeakerLevelColour, this)),
      micCaption_(new QLabel(tr("Mic"), this)),
      micSlider_(makeSlider(QStringLiteral("micVolumeSlider"), tr("Microphone volume"), kMicrophoneLevelColour, this)),
      automatic_(new QLabel(tr("Auto"), this)) {
    setObjectName(QStringLiteral("volumeControls"));
    wavCaption_->setBuddy(wavSlider_);
    micCaption_->setBuddy(micSlider_);
    automatic_->setObjectName(QStringLiteral("automaticVolumeIndicator"));
    automatic_->setAccessibleName(tr("Microphone level is set automatically"));
    automatic_->setToolTip(automatic_->accessibleName());
    automatic_->setStyleSheet(QStringLiteral("color: #2a6fdb; font-size: 10px; font-weight: bold;"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->setSpacing(4);
    layout->addWidget(wavCaption_);
    layout->addWidget(wavSlider_);
    layout->addSpacing(8);
    layout->addWidget(micCaption_);
    layout->addWidget(micSlider_);
    layout->addWidget(automatic_);
}

void ClassroomVolumeControls::setMicrophoneShown(bool shown) {
    micCaption_->setVisible(shown);
    micSlider_->setVisible(shown);
    if (!shown) automatic_->setVisible(false);
}

bool ClassroomVolumeControls::isMicrophoneShown() const { return !micSlider_->isHidden(); }

void ClassroomVolumeControls::showLevels(int wavPeak, int micPeak) {
    wavSlider_->setProgressValues(wavPeak, 0, kPeakLevelMax, kSpeakerLevelColour);
    micSlider_->setProgressValues(micPeak, 0, kPeakLevelMax, kMicrophoneLevelColour);
}

}  // namespace veltrin
