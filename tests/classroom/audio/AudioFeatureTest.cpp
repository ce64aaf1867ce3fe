// The classroom's audio feature against the reference server, with fake sound devices and a host
// that records what the classroom would show and send.

#include "tests/classroom/audio/AudioFeatureRig.h"

using namespace std::chrono_literals;

namespace veltrin::testing {
namespace {

constexpr char kConnected[] =
    "Your audio is connected. Your microphone is muted. To speak click the Mic button. If you cannot hear sound or "
    "talk please run a quick audio test.";
constexpr char kLost[] =
    "Your audio connection was lost. Please try reconnecting in a few moments by pressing the Mic button on the main "
    "toolbar.";

using AudioFeatureTest = AudioFeatureRig;

TEST_F(AudioFeatureTest, ConnectingShowsWhichDevicesWork) {
    struct Case {
        bool mic, players;
        int state;
        int errorLines;
        std::vector<std::string> toasts;
        bool connectedLine;
    };
    const std::vector<Case> cases = {
        {true, true, 0, 0, {}, true},
        {false, true, 0, 1, {"Your selected microhpne failed to start. See description in text messages."}, false},
        {true, false, 0, 1, {"Selected audio device failed to start. See description in text messages."}, false},
        {false, false, 35, 0, {}, false},
    };
    for (const Case& c : cases) {
        RecordingHost h;
        h.parameters = host.parameters;
        auto fakes = std::make_shared<audio::test::FakeDevices>();
        fakes->micWorks = c.mic;
        fakes->playersWork = c.players;
        AudioFeature f(h, shell.settings, fakes);
        ASSERT_TRUE(connect(f));
        EXPECT_EQ(f.audioState(), c.state);
        EXPECT_EQ(h.audioState, c.state);
        EXPECT_EQ(h.microphoneUsable, c.mic);
        EXPECT_EQ(int(h.errors.size()), c.errorLines);
        std::vector<std::string> toastTexts;
        for (const auto& [text, seconds] : h.toasts) {
            toastTexts.push_back(text);
            EXPECT_EQ(seconds, 1.5);
        }
        EXPECT_EQ(toastTexts, c.toasts);
        EXPECT_EQ(h.count(h.notes, kConnected), c.connectedLine ? 1 : 0);
        EXPECT_EQ(h.buttonImage, c.state == 0 ? "tbf_48x96_mic_muted.png" : "");
        EXPECT_TRUE(h.buttonEnabled) << "enabled again per VoiceAllowed";
    }
}

TEST_F(AudioFeatureTest, TheMicButtonAsksForTheFloorAndTheGrantStartsCapture) {
    AudioFeature& f = make();
    ASSERT_TRUE(connect(f));
    ASSERT_EQ(f.audioState(), 0);
    f.acMic();
    EXPECT_EQ(host.sent(), std::vector<int>{6});
    f._startMic();  // the server's grant
    EXPECT_TRUE(host.micActive);
    EXPECT_TRUE(devices->mic->running);
    EXPECT_EQ(host.buttonImage, "tbf_48x96_mic_active.png");
    f.acMic();
    EXPECT_EQ(host.sent(), (std::vector<int>{6, 7}));
    f._stopMic();  // the server's release
    EXPECT_FALSE(host.micActive);
    EXPECT_FALSE(devices->mic->running);
    EXPECT_EQ(host.buttonImage, "tbf_48x96_mic_muted.png");
}

TEST_F(AudioFeatureTest, AFailedConnectionIsRetriedByTheMicButton) {
    host.parameters.port = closedPort();
    AudioFeature& f = make();
    ASSERT_TRUE(connect(f));
    EXPECT_EQ(f.audioState(), audio::kAudioConnectFailed);
    EXPECT_TRUE(host.errors.empty() && host.toasts.empty());
    EXPECT_TRUE(host.buttonEnabled);
    f.acMic();
    EXPECT_TRUE(f.isConnecting()) << "the press connects instead of asking for the floor";
    EXPECT_FALSE(host.buttonEnabled) << "disabled while connecting";
    ASSERT_TRUE(waitUntil([&] { return !f.isConnecting(); }));
    EXPECT_TRUE(host.sent().empty());
}

TEST_F(AudioFeatureTest, ALostChannelIsReportedOnceAndGivesTheFloorBack) {
    AudioFeature& f = make();
    ASSERT_TRUE(connect(f));
    f._startMic();
    server.control(QStringLiteral("drop teacher"));
    // Both threads report the end; only then is the state final.
    ASSERT_TRUE(waitUntil([&] { return host.count(host.errors, kLost) == 1 && devices->players[0]->started == false; }));
    waitUntil([] { return false; }, 300ms);
    EXPECT_EQ(host.count(host.errors, kLost), 1);
    EXPECT_EQ(std::count(host.toasts.begin(), host.toasts.end(), std::pair<std::string, double>{"Audio connection lost.", 1.5}), 1);
    EXPECT_EQ(host.sent(), std::vector<int>{7});
    EXPECT_FALSE(host.micActive);
    EXPECT_EQ(host.buttonImage, "tbf_48x96_mic_disconnected.png");
    EXPECT_NE(f.audioState(), 0);

    // The Mic button reconnects; a later loss is reported again.
    f.acMic();
    ASSERT_TRUE(waitUntil([&] { return !f.isConnecting(); }));
    EXPECT_EQ(f.audioState(), 0);
    server.control(QStringLiteral("drop teacher"));
    ASSERT_TRUE(waitUntil([&] { return host.count(host.errors, kLost) == 2; }));
}

TEST_F(AudioFeatureTest, ReconnectAudioIsSilentAndAnnouncesPresenceAgain) {
    AudioFeature& f = make();
    ASSERT_TRUE(connect(f));
    host.notes.clear();
    f.reconnectAudio();
    EXPECT_FALSE(f.showAudioErrors());
    ASSERT_TRUE(waitUntil([&] { return host.count(host.notes, kConnected) == 1; }, 5s));
    EXPECT_TRUE(f.showAudioErrors());
    EXPECT_EQ(host.count(host.errors, kLost), 0) << "the deliberate end is no loss";
    EXPECT_EQ(host.sent(), std::vector<int>{64}) << "online status 0 after reconnecting";
    EXPECT_EQ(host.commands.data().back(), 0);
    EXPECT_EQ(f.audioState(), 0);
}

TEST_F(AudioFeatureTest, TheSetupTestDisconnectsSilentlyAndReconnectsWhenClosed) {
    AudioFeature& f = make();
    f.setDeviceLister([](std::vector<audio::AudioDeviceEntry>& e, bool, bool, bool) {
        e = {{-1, "Default Device"}};
        return 0;
    });
    ASSERT_TRUE(connect(f));
    host.notes.clear();
    f.acAudioTest();
    ASSERT_NE(f.setupWindow(), nullptr);
    EXPECT_EQ(host.sent(), std::vector<int>{64});
    EXPECT_FALSE(host.buttonEnabled);
    f.acAudioTest();  // brought up again, not opened twice
    EXPECT_EQ(host.sent(), std::vector<int>{64});
    ASSERT_TRUE(waitUntil([&] { return f.audioState() == 1 || f.audioState() == 2; }));
    f.setupWindow()->close();
    ASSERT_TRUE(waitUntil([&] { return host.count(host.notes, kConnected) == 1; }));
    EXPECT_EQ(host.count(host.errors, kLost), 0);
    EXPECT_EQ(host.sent(), (std::vector<int>{64, 64}));
    EXPECT_EQ(f.setupWindow(), nullptr);
}

TEST_F(AudioFeatureTest, LeavingWhileConnectingEndsTheChannel) {
    AudioFeature& f = make();
    f.ConnectAudio();
    f.dropConnector();
    EXPECT_FALSE(f.hasConnector());
    EXPECT_TRUE(waitForAudioThreads(10000)) << "the connector was ended by the thread that connected it";
    waitUntil([] { return false; }, 200ms);
    EXPECT_TRUE(host.notes.empty()) << "a report that arrives after leaving shows nothing";
}

}  // namespace
}  // namespace veltrin::testing
