#include "audio/AudioSettings.h"

#include "app/core/DefaultFlags.h"

namespace veltrin::audio {

AudioChannelSettings audioChannelSettingsFrom(const DefaultFlags& flags) {
    AudioChannelSettings s;
    s.proxy = flags.socksProxy();
    s.inputDeviceId = flags.defAudioInputDeviceId();
    s.inputDeviceName = flags.defAudioInputDeviceName().toStdString();
    s.outputDeviceId = flags.defAudioOutputDeviceId();
    s.outputDeviceName = flags.defAudioOutputDeviceName().toStdString();
    s.autoMicSettings = flags.defAutoMicSettings();
    return s;
}

void resetStoredAudioDevice(DefaultFlags& flags, bool input) {
    if (input) {
        flags.setDefAudioInputDeviceId(-1);
        flags.setDefAudioInputDeviceName({});
    } else {
        flags.setDefAudioOutputDeviceId(-1);
        flags.setDefAudioOutputDeviceName({});
    }
}

}  // namespace veltrin::audio
