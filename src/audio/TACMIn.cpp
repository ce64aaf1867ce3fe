#include "audio/TACMIn.h"

#include <portaudio.h>

#include "audio/AudioFormat.h"
#include "audio/MonoStream.h"
#include "wire/Log.h"

namespace veltrin::audio {

std::unique_ptr<TACMIn> TACMIn::create(int deviceId, bool automaticGain, AudioInputDelegate& delegate) {
    std::unique_ptr<TACMIn> mic(new TACMIn(delegate));
    mic->deviceId_ = deviceId;  // nothing to fall back to yet
    if (!mic->session_.ok()) return nullptr;
    if (const int error = mic->OpenDeviceWithId(deviceId); error != paNoError) {
        logPortAudioError(error);
        return nullptr;
    }
    mic->setAutomaticMicState(automaticGain);
    mic->processor_.setDenoise(true);
    return mic;
}

TACMIn::TACMIn(AudioInputDelegate& delegate)
    : delegate_(delegate),
      processor_([this](const std::uint8_t* data, std::size_t size) { delegate_.AcmInCompressedData(*this, data, size); },
                 [this](int peak) { delegate_.AcmInPeakLevel(*this, peak); }) {}

TACMIn::~TACMIn() {
    std::lock_guard lock(streamMutex_);
    closeStream();
}

void TACMIn::closeStream() { closeMonoStream(stream_); }

int TACMIn::OpenDeviceWithId(int deviceId) {
    std::lock_guard lock(streamMutex_);
    return switchMonoStreamDevice(stream_, deviceId_, deviceId, [this](int id) { return openStream(id); });
}

int TACMIn::openStream(int deviceId) {
    const bool restart = stream_ && Pa_IsStreamActive(stream_) == 1;
    if (restart) Pa_StopStream(stream_);
    closeStream();
    processor_.reset();

    // Runs on PortAudio's thread; the processor neither allocates nor blocks for long.
    PaStreamCallback* onBuffer = [](const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo*,
                                    PaStreamCallbackFlags, void* self) -> int {
        if (input) static_cast<TACMIn*>(self)->processor_.process(static_cast<const std::int16_t*>(input), frames);
        return paContinue;
    };
    PaError error = openMonoStream(&stream_, deviceId, true, onBuffer, this);
    if (error != paNoError) {
        stream_ = nullptr;
        return error;
    }
    if (restart) return Pa_StartStream(stream_);
    return paNoError;
}

bool TACMIn::start() {
    std::lock_guard lock(streamMutex_);
    if (!stream_) return false;
    if (Pa_IsStreamActive(stream_) == 1) return true;
    if (const PaError error = Pa_StartStream(stream_); error != paNoError) {
        logPortAudioError(error);
        return false;
    }
    return true;
}

bool TACMIn::running() {
    std::lock_guard lock(streamMutex_);
    return stream_ && Pa_IsStreamActive(stream_) == 1;
}

void TACMIn::stop() {
    {
        std::lock_guard lock(streamMutex_);
        if (stream_ && Pa_IsStreamStopped(stream_) == 0) {
            if (const PaError error = Pa_StopStream(stream_); error != paNoError) logPortAudioError(error);
        }
    }
    processor_.reset();
    delegate_.AcmInPeakLevel(*this, 0);
}

}  // namespace veltrin::audio
