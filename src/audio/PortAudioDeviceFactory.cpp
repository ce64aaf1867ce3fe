#include "audio/PortAudioDeviceFactory.h"

#include "audio/PortAudioSystem.h"
#include "audio/TACMIn.h"
#include "audio/TACMOut.h"

namespace veltrin::audio {

std::unique_ptr<AudioInput> PortAudioDeviceFactory::createMicrophone(int deviceId, bool automaticGain,
                                                                     AudioInputDelegate& delegate) {
    return TACMIn::create(deviceId, automaticGain, delegate);
}

std::unique_ptr<AudioOutput> PortAudioDeviceFactory::createPlayer(int deviceId, AudioOutputDelegate& delegate) {
    return TACMOut::create(deviceId, delegate);
}

bool PortAudioDeviceFactory::isDeviceWithIdMatchesName(int deviceId, const std::string& name) {
    return audio::isDeviceWithIdMatchesName(deviceId, name);
}

}  // namespace veltrin::audio
