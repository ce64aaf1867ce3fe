#include "audio/TACMOut.h"

#include <portaudio.h>

#include "audio/AudioFormat.h"
#include "audio/MonoStream.h"
#include "wire/Log.h"

namespace veltrin::audio {

std::unique_ptr<TACMOut> TACMOut::create(int deviceId, AudioOutputDelegate& delegate) {
    std::unique_ptr<TACMOut> player(new TACMOut(delegate));
    player->deviceId_ = deviceId;  // nothing to fall back to yet
    if (!player->session_.ok()) return nullptr;
    if (const int error = player->OpenDeviceWithId(deviceId); error != paNoError) {
        logPortAudioError(error);
        return nullptr;
    }
    return player;
}

TACMOut::TACMOut(AudioOutputDelegate& delegate)
    : delegate_(delegate), playback_([this](int peak) { delegate_.AcmOutPeakLevel(*this, peak); }) {}

TACMOut::~TACMOut() {
    std::lock_guard lock(streamMutex_);
    closeStream();
}

void TACMOut::closeStream() { closeMonoStream(stream_); }

int TACMOut::OpenDeviceWithId(int deviceId) {
    std::lock_guard lock(streamMutex_);
    return switchMonoStreamDevice(stream_, deviceId_, deviceId, [this](int id) { return openStream(id); });
}

int TACMOut::openStream(int deviceId) {
    const bool restart = stream_ && Pa_IsStreamActive(stream_) == 1;
    if (restart) Pa_StopStream(stream_);
    closeStream();

    // Runs on PortAudio's thread: only copies queued bytes (or silence) out.
    PaStreamCallback* onBuffer = [](const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                                    PaStreamCallbackFlags, void* self) -> int {
        if (output)
            static_cast<TACMOut*>(self)->playback_.fill(
                {static_cast<std::uint8_t*>(output), static_cast<std::size_t>(frames) * sizeof(std::int16_t)});
        return paContinue;
    };
    PaError error = openMonoStream(&stream_, deviceId, false, onBuffer, this);
    if (error != paNoError) {
        stream_ = nullptr;
        return error;
    }
    if (restart) {
        error = Pa_StartStream(stream_);
        stopped_.store(error != paNoError);
        return error;
    }
    return paNoError;
}

bool TACMOut::start() {
    std::lock_guard lock(streamMutex_);
    if (!stream_) return false;
    if (Pa_IsStreamActive(stream_) == 1) return true;
    if (const PaError error = Pa_StartStream(stream_); error != paNoError) {
        logPortAudioError(error);
        return false;
    }
    stopped_.store(false);
    return true;
}

void TACMOut::stop() {
    std::lock_guard lock(streamMutex_);
    if (stream_ && Pa_IsStreamStopped(stream_) == 0) {
        if (const PaError error = Pa_StopStream(stream_); error != paNoError) logPortAudioError(error);
    }
    stopped_.store(true);
}

}  // namespace veltrin::audio
