#pragma once

#include <portaudio.h>

namespace veltrin::audio {

// Opens a mono 16-bit 16000 Hz stream of one direction on a device (-1: the default device) with
// the block-sized buffers both the microphone and the speakers use; answers PortAudio's error code.
PaError openMonoStream(PaStream** stream, int deviceId, bool input, PaStreamCallback* callback, void* userData);

}  // namespace veltrin::audio
