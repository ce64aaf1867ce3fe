#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "audio/AudioDevice.h"

namespace veltrin::audio::test {

// A microphone that speaks when the test says so.
class FakeMic final : public AudioInput {
public:
    explicit FakeMic(AudioInputDelegate& delegate) : delegate_(delegate) {}
    int OpenDeviceWithId(int) override { return 0; }
    bool start() override { return running = true; }
    void stop() override {
        running = false;
        delegate_.AcmInPeakLevel(*this, 0);
    }
    void setChangeSampleBy(int step) override { step_ = step; }
    int getChangeSampleBy() const override { return step_; }
    void setAutomaticMicState(bool) override {}
    void speak(const std::vector<std::uint8_t>& block) { delegate_.AcmInCompressedData(*this, block.data(), block.size()); }

    std::atomic<bool> running{false};

private:
    AudioInputDelegate& delegate_;
    std::atomic<int> step_{79};
};

// A player that keeps every block it is given.
class FakePlayer final : public AudioOutput {
public:
    int OpenDeviceWithId(int) override { return 0; }
    bool start() override { return started = true; }
    void stop() override { started = false; }
    void addBuffer(const std::uint8_t* data, std::size_t size) override {
        std::lock_guard lock(mutex_);
        blocks_.emplace_back(data, data + size);
    }
    void setChangeSampleBy(int step) override { step_ = step; }
    int getChangeSampleBy() const override { return step_; }
    std::vector<std::vector<std::uint8_t>> blocks() const {
        std::lock_guard lock(mutex_);
        return blocks_;
    }

    std::atomic<bool> started{false};

private:
    mutable std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> blocks_;
    std::atomic<int> step_{79};
};

// Hands out fakes and remembers them (valid while the connector keeps them: until it disconnects).
class FakeDevices final : public AudioDeviceFactory {
public:
    std::unique_ptr<AudioInput> createMicrophone(int deviceId, bool, AudioInputDelegate& delegate) override {
        std::lock_guard lock(mutex_);
        inputIds.push_back(deviceId);
        if (!micWorks) return nullptr;
        auto mic = std::make_unique<FakeMic>(delegate);
        this->mic = mic.get();
        return mic;
    }
    std::unique_ptr<AudioOutput> createPlayer(int deviceId, AudioOutputDelegate&) override {
        std::lock_guard lock(mutex_);
        outputIds.push_back(deviceId);
        if (!playersWork) return nullptr;
        auto player = std::make_unique<FakePlayer>();
        players.push_back(player.get());
        return player;
    }
    bool isDeviceWithIdMatchesName(int deviceId, const std::string& name) override {
        return deviceId == 3 && name == "USB Headset";
    }

    bool micWorks = true;
    bool playersWork = true;
    FakeMic* mic = nullptr;
    std::vector<FakePlayer*> players;  // in creation order: the last five are the live ones
    std::vector<int> inputIds, outputIds;

private:
    std::mutex mutex_;
};

}  // namespace veltrin::audio::test
