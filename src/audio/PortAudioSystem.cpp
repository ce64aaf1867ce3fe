#include "audio/PortAudioSystem.h"

#include <portaudio.h>

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "audio/AudioFormat.h"
#include "audio/MonoStream.h"
#include "wire/Log.h"

namespace veltrin::audio {

namespace {
// PortAudio counts its initialisations without a lock, and the first one enumerates the devices:
// connectors and tests initialise from several threads at once.
std::mutex& initialisationMutex() {
    static std::mutex mutex;
    return mutex;
}

// Guarded by initialisationMutex().
int liveSessions = 0;
bool initialisationHung = false;

// The first initialisation asks every host system for its devices, and one of them can block for
// good: the JACK client library waits forever on a shared lock that a killed process left behind.
// That must cost the user the sound, not the whole classroom, so the enumeration runs on a
// thread of its own and is given up after this long; the rest of the run goes on without sound.
constexpr auto kInitialisationTimeout = std::chrono::seconds(10);

int initialiseWithTimeout() {
    auto result = std::make_shared<std::promise<int>>();
    std::future<int> answer = result->get_future();
    std::thread([result] { result->set_value(Pa_Initialize()); }).detach();
    if (answer.wait_for(kInitialisationTimeout) == std::future_status::ready) return answer.get();
    initialisationHung = true;
    logLine("PortAudio initialisation did not finish; sound stays off for this run");
    return paTimedOut;
}
}  // namespace

PortAudioSession::PortAudioSession() {
    std::lock_guard lock(initialisationMutex());
    if (initialisationHung) {
        error_ = paTimedOut;
        return;
    }
    // Later initialisations only count up, so only the first one needs the watchdog.
    error_ = liveSessions == 0 ? initialiseWithTimeout() : Pa_Initialize();
    if (error_ == paNoError) {
        ++liveSessions;
        // Once up, PortAudio stays up until the process ends. Every terminate and fresh start unloads
        // and reloads the sound system's plugins, and one of them pulls in a runtime library whose
        // start-up code aborts the process when it runs a second time.
        static const bool heldForTheProcess = Pa_Initialize() == paNoError;
        (void)heldForTheProcess;
    } else if (error_ != paTimedOut) {
        logPortAudioError(error_);
    }
}

PortAudioSession::~PortAudioSession() {
    std::lock_guard lock(initialisationMutex());
    if (error_ == paNoError) {
        Pa_Terminate();
        --liveSessions;
    }
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

void closeMonoStream(PaStream*& stream) {
    if (!stream) return;
    std::lock_guard lock(initialisationMutex());
    Pa_CloseStream(stream);
    stream = nullptr;
}

PaError openMonoStream(PaStream** out, int deviceId, bool input, PaStreamCallback* onBuffer, void* userData) {
    // Opening and closing a device reads the sound system's shared configuration, which is not safe
    // against another thread enumerating or opening devices at the same time (heap corruption in
    // two classrooms of one process): they take the initialisation lock too.
    std::lock_guard lock(initialisationMutex());
    if (deviceId < 0)
        return Pa_OpenDefaultStream(out, input ? 1 : 0, input ? 0 : 1, paInt16, kSampleRate, kSamplesPerBlock, onBuffer,
                                    userData);
    const PaDeviceInfo* info = deviceId < Pa_GetDeviceCount() ? Pa_GetDeviceInfo(deviceId) : nullptr;
    if (!info) return paInvalidDevice;
    PaStreamParameters parameters{};
    parameters.device = deviceId;
    parameters.channelCount = 1;
    parameters.sampleFormat = paInt16;
    // The input latency on both sides, so that microphone and speakers buffer alike.
    parameters.suggestedLatency = info->defaultLowInputLatency;
    parameters.hostApiSpecificStreamInfo = nullptr;
    return Pa_OpenStream(out, input ? &parameters : nullptr, input ? nullptr : &parameters, kSampleRate,
                         kSamplesPerBlock, paNoFlag, onBuffer, userData);
}

}  // namespace veltrin::audio
