#pragma once

#include "audio/AudioDevice.h"

namespace veltrin::audio {

// Microphones and players on the system's sound devices through PortAudio.
class PortAudioDeviceFactory final : public AudioDeviceFactory {
public:
    std::unique_ptr<AudioInput> createMicrophone(int deviceId, bool automaticGain,
                                                 AudioInputDelegate& delegate) override;
    std::unique_ptr<AudioOutput> createPlayer(int deviceId, AudioOutputDelegate& delegate) override;
    bool isDeviceWithIdMatchesName(int deviceId, const std::string& name) override;
};

}  // namespace veltrin::audio
