#pragma once

#include <portaudio.h>

namespace veltrin::audio {

// Opens a mono 16-bit 16000 Hz stream of one direction on a device (-1: the default device) with
// the block-sized buffers both the microphone and the speakers use; answers PortAudio's error code.
PaError openMonoStream(PaStream** stream, int deviceId, bool input, PaStreamCallback* callback, void* userData);

// Closes the stream, waiting for a running callback to return.
void closeMonoStream(PaStream*& stream);

// Moves a stream to another device with `openOn(deviceId)`. A device that cannot be opened leaves
// the previous one in use, running again if it was running. The caller holds the stream's lock.
template <typename OpenOn>
PaError switchMonoStreamDevice(PaStream*& stream, int& currentId, int newId, OpenOn openOn) {
    const bool wasRunning = stream && Pa_IsStreamActive(stream) == 1;
    const PaError error = openOn(newId);
    if (error != paNoError && newId != currentId && openOn(currentId) == paNoError && wasRunning)
        Pa_StartStream(stream);
    if (error == paNoError) currentId = newId;
    return error;
}

}  // namespace veltrin::audio
