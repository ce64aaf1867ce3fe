#pragma once

#include <string>
#include <vector>

namespace veltrin::audio {

// Holds PortAudio initialised for its lifetime. PortAudio counts initialisations, so every device
// object holds one and the library stays up while any of them lives; the application holds one
// from start to quit.
class PortAudioSession {
public:
    PortAudioSession();
    ~PortAudioSession();
    PortAudioSession(const PortAudioSession&) = delete;
    PortAudioSession& operator=(const PortAudioSession&) = delete;

    // PortAudio's error code of the initialisation, 0 when it is usable.
    int error() const { return error_; }
    bool ok() const { return error_ == 0; }

private:
    int error_ = 0;
};

// Logs PortAudio's text for an error code.
void logPortAudioError(int error);

// One entry of a device pop-up: the tag is the device index, -1 for "Default Device".
struct AudioDeviceEntry {
    int tag = -1;
    std::string title;
    bool operator==(const AudioDeviceEntry&) const = default;
};

inline constexpr char kDefaultDeviceTitle[] = "Default Device";

// The devices that have inputs (and/or outputs), in index order, after the default entry when
// asked. A device with both is listed once for each direction asked for. Answers the device
// count, negative on a PortAudio error (then `entries` holds at most the default entry).
int EnumAudioDevices(std::vector<AudioDeviceEntry>& entries, bool input, bool output, bool addDefaultEntry);

// Whether 0 <= deviceId < device count and that device's name is exactly `name`.
bool isDeviceWithIdMatchesName(int deviceId, const std::string& name);

}  // namespace veltrin::audio
