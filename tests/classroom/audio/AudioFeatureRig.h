#pragma once

// A host that records what the classroom would show and send, and a fixture that runs the audio
// feature against the reference server with fake sound devices.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/core/DefaultFlags.h"
#include "classroom/audio/AudioFeature.h"
#include "session/OutgoingCommands.h"
#include "tests/audio/FakeAudioDevices.h"
#include "tests/classroom/FakeShell.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestRooms.h"
#include "wire/VCTools.h"

namespace veltrin::testing {

class RecordingHost final : public AudioFeatureHost {
public:
    OutgoingCommands* audioCommands() override { return live ? &commands : nullptr; }
    bool audioVoiceAllowed() const override { return voiceAllowed; }
    bool audioMicActive() const override { return micActive; }
    void setAudioMicActive(bool active) override { micActive = active; }
    AudioConnectParameters audioConnectParameters() const override { return parameters; }
    void addErrorMessage(const std::string& text) override { errors.push_back(text); }
    void addNotificationMessage(const std::string& text) override { notes.push_back(text); }
    void displayToast(const std::string& text, double seconds) override { toasts.push_back({text, seconds}); }
    void setMicButton(const char* image) override { buttonImage = image; }
    void setMicButtonEnabled(bool enabled) override { buttonEnabled = enabled; }
    void audioStateChanged(int state, bool usable) override {
        audioState = state;
        microphoneUsable = usable;
    }
    QWidget* audioTestParent() override { return nullptr; }

    // The command ids sent on the main connection so far.
    std::vector<int> sent() const {
        std::vector<int> ids;
        const Bytes& d = commands.data();
        for (std::size_t at = 0; at + TCommand::kSize <= d.size();) {
            MemoryInputStream in(std::span<const std::uint8_t>(d).subspan(at));
            const auto c = VCTools::readCommand(in);
            if (!c) break;
            ids.push_back(c->CommandID);
            at += TCommand::kSize + c->DataSize;
        }
        return ids;
    }
    int count(const std::vector<std::string>& lines, const std::string& text) const {
        return int(std::count(lines.begin(), lines.end(), text));
    }

    bool live = true;
    bool voiceAllowed = true;
    bool micActive = false;
    AudioConnectParameters parameters;
    CommandBuffer commands{101, 1001};
    std::vector<std::string> errors, notes;
    std::vector<std::pair<std::string, double>> toasts;
    std::string buttonImage;
    bool buttonEnabled = true;
    int audioState = -100;
    bool microphoneUsable = false;
};

class AudioFeatureRig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(1, {QStringLiteral("--rooms"), writeTempFile(QString::fromLatin1(kTestRooms))}))
            << server.error().toStdString();
        host.parameters = {"127.0.0.1", server.port(), "teacher", "teacher", 1001, 101, 0};
    }
    void TearDown() override {
        feature.reset();
        EXPECT_TRUE(waitForAudioThreads(10000));
    }
    AudioFeature& make() {
        feature = std::make_unique<AudioFeature>(host, shell.settings, devices);
        return *feature;
    }
    bool connect(AudioFeature& f) {
        f.ConnectAudio();
        return waitUntil([&] { return !f.isConnecting(); });
    }

    ServerProcess server;
    FakeShell shell;
    RecordingHost host;
    std::shared_ptr<audio::test::FakeDevices> devices = std::make_shared<audio::test::FakeDevices>();
    std::unique_ptr<AudioFeature> feature;
};

}  // namespace veltrin::testing
