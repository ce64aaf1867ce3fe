#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace veltrin::audio {

class AudioInput;
class AudioOutput;

// What a microphone reports, on its device callback thread: one encoded voice block per 200 ms
// buffer and the buffer's peak level (0..32767). Implementations must return quickly and must not
// wait for the main thread.
class AudioInputDelegate {
public:
    virtual ~AudioInputDelegate() = default;
    virtual void AcmInCompressedData(AudioInput& mic, const std::uint8_t* data, std::size_t size) = 0;
    virtual void AcmInPeakLevel(AudioInput& mic, int peak) = 0;
};

// What a player reports, on the thread that hands it blocks: the peak level of each block.
class AudioOutputDelegate {
public:
    virtual ~AudioOutputDelegate() = default;
    virtual void AcmOutPeakLevel(AudioOutput& player, int peak) = 0;
};

// A microphone: an input stream opened at creation and stopped until start().
class AudioInput {
public:
    virtual ~AudioInput() = default;
    // Reopens on another device (-1: the default); a running microphone keeps running. Answers
    // the device layer's error code, 0 on success.
    virtual int OpenDeviceWithId(int deviceId) = 0;
    virtual bool start() = 0;
    // Also reports peak 0 to the delegate, so level meters fall silent.
    virtual void stop() = 0;
    virtual void setChangeSampleBy(int step) = 0;
    virtual int getChangeSampleBy() const = 0;
    // Automatic gain on or off.
    virtual void setAutomaticMicState(bool on) = 0;
};

// A speaker: decodes voice blocks and plays them on an output stream of its own.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    virtual int OpenDeviceWithId(int deviceId) = 0;
    virtual bool start() = 0;
    virtual void stop() = 0;
    // One encoded voice block; any length but 320 is ignored.
    virtual void addBuffer(const std::uint8_t* data, std::size_t size) = 0;
    virtual void setChangeSampleBy(int step) = 0;
    virtual int getChangeSampleBy() const = 0;
};

// Where microphones and players come from: the sound system in the application, fakes in tests.
class AudioDeviceFactory {
public:
    virtual ~AudioDeviceFactory() = default;
    // Nothing when the sound system or the device failed (the reason is logged).
    virtual std::unique_ptr<AudioInput> createMicrophone(int deviceId, bool automaticGain,
                                                         AudioInputDelegate& delegate) = 0;
    virtual std::unique_ptr<AudioOutput> createPlayer(int deviceId, AudioOutputDelegate& delegate) = 0;
    // Whether the device index still names the device of that name (indexes move when devices
    // come and go).
    virtual bool isDeviceWithIdMatchesName(int deviceId, const std::string& name) = 0;
};

}  // namespace veltrin::audio
