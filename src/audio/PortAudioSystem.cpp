#include "audio/PortAudioSystem.h"

#include <portaudio.h>

#include "wire/Log.h"

namespace veltrin::audio {

PortAudioSession::PortAudioSession() : error_(Pa_Initialize()) {
    if (error_ != paNoError) logPortAudioError(error_);
}

PortAudioSession::~PortAudioSession() {
    if (error_ == paNoError) Pa_Terminate();
}

void logPortAudioError(int error) {
    logf("PortAudio error: %s", Pa_GetErrorText(error));
}

int EnumAudioDevices(std::vector<AudioDeviceEntry>& entries, bool input, bool output, bool addDefaultEntry) {
    entries.clear();
    PortAudioSession session;
    if (!session.ok()) return session.error();
    const int count = Pa_GetDeviceCount();
    if (count < 0) return count;
    if (addDefaultEntry) entries.push_back({-1, kDefaultDeviceTitle});
    for (int i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (!info) continue;
        const std::string name = info->name ? info->name : "";
        if (input && info->maxInputChannels > 0) entries.push_back({i, name});
        if (output && info->maxOutputChannels > 0) entries.push_back({i, name});
    }
    return count;
}

bool isDeviceWithIdMatchesName(int deviceId, const std::string& name) {
    PortAudioSession session;
    if (!session.ok() || deviceId < 0 || deviceId >= Pa_GetDeviceCount()) return false;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(deviceId);
    return info && info->name && name == info->name;
}

}  // namespace veltrin::audio
