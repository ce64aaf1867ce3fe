// The classroom's speaker and microphone volume sliders: what moving them changes, which of them
// can be used when, and the live levels they show.

#include <QLabel>

#include "classroom/audio/AudioSetupWindow.h"
#include "classroom/audio/ClassroomVolumeControls.h"
#include "classroom/audio/VolumeSlider.h"
#include "tests/classroom/audio/AudioFeatureRig.h"

using namespace std::chrono_literals;

namespace veltrin::testing {
namespace {

class ClassroomVolumeControlsTest : public AudioFeatureRig {
protected:
    // The feature with the sliders attached, as the classroom window has it.
    AudioFeature& makeWithControls() {
        AudioFeature& f = make();
        f.attachVolumeControls(&controls);
        return f;
    }
    // The five players the live connector plays on.
    std::vector<audio::test::FakePlayer*> livePlayers() const {
        return {devices->players.end() - 5, devices->players.end()};
    }

    ClassroomVolumeControls controls;
};

TEST_F(ClassroomVolumeControlsTest, MovingTheSlidersSetsTheDevicesAndStoresTheVolume) {
    shell.settings.setDefAutoMicSettings(false);
    shell.settings.setDefStoredWavVolume(60);
    shell.settings.setDefStoredMicVolume(90);
    AudioFeature& f = makeWithControls();
    VolumeSlider* wav = controls.wavSlider();
    VolumeSlider* mic = controls.micSlider();
    EXPECT_EQ(wav->accessibleName(), "Speaker volume");
    EXPECT_EQ(mic->accessibleName(), "Microphone volume");
    EXPECT_EQ(wav->value(), 60);
    EXPECT_EQ(mic->value(), 90);
    EXPECT_FALSE(wav->isEnabled()) << "no audio channel yet: a move could change nothing";
    EXPECT_FALSE(mic->isEnabled());

    ASSERT_TRUE(connect(f));
    ASSERT_EQ(f.audioState(), 0);
    EXPECT_TRUE(wav->isEnabled());
    EXPECT_TRUE(mic->isEnabled());
    for (const audio::test::FakePlayer* p : livePlayers()) EXPECT_EQ(p->getChangeSampleBy(), 60) << "stored at connect";
    EXPECT_EQ(devices->mic->getChangeSampleBy(), 90);

    wav->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const int wavStep = wav->value();
    EXPECT_GT(wavStep, 60);
    for (const audio::test::FakePlayer* p : livePlayers()) EXPECT_EQ(p->getChangeSampleBy(), wavStep);
    EXPECT_EQ(shell.settings.defStoredWavVolume(), wavStep);

    mic->triggerAction(QAbstractSlider::SliderPageStepSub);
    const int micStep = mic->value();
    EXPECT_LT(micStep, 90);
    EXPECT_EQ(devices->mic->getChangeSampleBy(), micStep);
    EXPECT_EQ(shell.settings.defStoredMicVolume(), micStep);
    EXPECT_EQ(shell.settings.defStoredWavVolume(), wavStep) << "each slider stores only its own volume";
}

TEST_F(ClassroomVolumeControlsTest, PeaksShowInTheBarsWhileAudioRunsAndClearWhenItStops) {
    AudioFeature& f = makeWithControls();
    EXPECT_FALSE(f.levelsRunning());
    ASSERT_TRUE(connect(f));
    ASSERT_TRUE(f.levelsRunning());

    // Reports as the devices' threads give them, through the connector.
    audio::AudioConnector& c = *f.connector();
    c.AcmInPeakLevel(*devices->mic, 20000);
    c.AcmOutPeakLevel(*livePlayers().front(), 12000);
    VolumeSlider* wav = controls.wavSlider();
    VolumeSlider* mic = controls.micSlider();
    ASSERT_TRUE(waitUntil([&] { return mic->progressCurrentValue() == 20000 && wav->progressCurrentValue() == 12000; }));
    EXPECT_EQ(mic->progressMaxValue(), kPeakLevelMax);
    EXPECT_EQ(mic->progressColor(), QColor(Qt::blue));
    EXPECT_EQ(wav->progressColor(), QColor(Qt::green));
    EXPECT_EQ(wav->progressWidth(104), 37) << "12000 / 32767 of the 100 points inside the groove";

    // A speaker who stops sends no more levels; the bar falls back instead of holding the last one.
    ASSERT_TRUE(waitUntil([&] { return wav->progressCurrentValue() == 0; }, 3s));

    c.AcmInPeakLevel(*devices->mic, 30000);
    ASSERT_TRUE(waitUntil([&] { return mic->progressCurrentValue() == 30000; }));
    f.DisconnectAudio();
    EXPECT_FALSE(f.levelsRunning());
    EXPECT_EQ(mic->progressCurrentValue(), 0);
    EXPECT_EQ(wav->progressCurrentValue(), 0);
}

TEST_F(ClassroomVolumeControlsTest, WhichControlsAreUsable) {
    struct Case {
        const char* name;
        bool playback, automatic, channel, recordingPlayer;
        bool wavEnabled, micShown, micEnabled, indicatorShown;
    };
    const Case cases[] = {
        {"live, no channel", false, false, false, false, false, true, false, false},
        {"live, channel", false, false, true, false, true, true, true, false},
        {"live, channel, automatic", false, true, true, false, true, true, false, true},
        {"live, no channel, automatic", false, true, false, false, false, true, false, true},
        {"playback without a player", true, false, false, false, false, false, false, false},
        {"playback with a player", true, true, false, true, true, false, false, false},
    };
    host.parameters.port = closedPort();  // a connector without a connection is enough here
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        shell.settings.setDefAutoMicSettings(k.automatic);
        ClassroomVolumeControls shown;
        shown.show();
        AudioFeature f(host, shell.settings, devices);
        f.attachVolumeControls(&shown);
        f.setPlaybackMode(k.playback);
        if (k.channel) {
            ASSERT_TRUE(connect(f));
        }
        if (k.recordingPlayer) f.setRecordingPlayerVolume([](int) {});
        EXPECT_EQ(shown.wavSlider()->isEnabled(), k.wavEnabled);
        EXPECT_EQ(shown.micSlider()->isVisible(), k.micShown);
        EXPECT_EQ(shown.micSlider()->isEnabled(), k.micEnabled);
        EXPECT_EQ(shown.automaticIndicator()->isVisible(), k.indicatorShown);
    }
}

TEST_F(ClassroomVolumeControlsTest, PlaybackVolumeGoesToTheRecordingPlayer) {
    AudioFeature& f = makeWithControls();
    f.setPlaybackMode(true);
    controls.wavSlider()->setValue(100);  // no player: nothing to change, nothing stored
    EXPECT_EQ(shell.settings.defStoredWavVolume(), 79);

    std::vector<int> applied;
    f.setRecordingPlayerVolume([&](int step) { applied.push_back(step); });
    EXPECT_EQ(applied, std::vector<int>{79}) << "the player starts at the stored volume";
    EXPECT_TRUE(f.levelsRunning());
    controls.wavSlider()->setValue(40);
    EXPECT_EQ(applied, (std::vector<int>{79, 40}));
    EXPECT_EQ(shell.settings.defStoredWavVolume(), 40);
    f.setRecordingPlayerVolume({});
    EXPECT_FALSE(f.levelsRunning());
    EXPECT_FALSE(controls.wavSlider()->isEnabled());
}

TEST_F(ClassroomVolumeControlsTest, AutomaticMicrophoneLevelFixesTheSliderAtTheNeutralStep) {
    shell.settings.setDefAutoMicSettings(false);
    shell.settings.setDefStoredMicVolume(30);
    AudioFeature& f = makeWithControls();
    ASSERT_TRUE(connect(f));
    ASSERT_EQ(devices->mic->getChangeSampleBy(), 30);
    f.applyAutomaticMicSettings(true);
    EXPECT_EQ(controls.micSlider()->value(), kVolumeStepNeutral);
    EXPECT_FALSE(controls.micSlider()->isEnabled());
    EXPECT_FALSE(controls.automaticIndicator()->isHidden());
    EXPECT_EQ(devices->mic->getChangeSampleBy(), kVolumeStepNeutral);
    f.applyAutomaticMicSettings(false);
    EXPECT_TRUE(controls.micSlider()->isEnabled());
    EXPECT_TRUE(controls.automaticIndicator()->isHidden());
}

TEST_F(ClassroomVolumeControlsTest, ClosingTheSetupTestTakesItsSliderValues) {
    shell.settings.setDefAutoMicSettings(false);
    AudioFeature& f = makeWithControls();
    f.setDeviceLister([](std::vector<audio::AudioDeviceEntry>& e, bool, bool, bool) {
        e = {{-1, "Default Device"}};
        return 0;
    });
    ASSERT_TRUE(connect(f));
    f.acAudioTest();
    ASSERT_NE(f.setupWindow(), nullptr);
    EXPECT_FALSE(f.levelsRunning()) << "the channel is down while the test runs";
    // Moved while no test runs: the test itself stores nothing.
    f.setupWindow()->wavSlider()->setValue(30);
    f.setupWindow()->micSlider()->setValue(120);
    f.setupWindow()->close();
    EXPECT_EQ(controls.wavSlider()->value(), 30);
    EXPECT_EQ(controls.micSlider()->value(), 120);
    EXPECT_EQ(shell.settings.defStoredWavVolume(), 30);
    EXPECT_EQ(shell.settings.defStoredMicVolume(), 120);
    ASSERT_TRUE(waitUntil([&] { return !f.isConnecting() && f.audioState() == 0; }));
    EXPECT_TRUE(f.levelsRunning());
    for (const audio::test::FakePlayer* p : livePlayers()) EXPECT_EQ(p->getChangeSampleBy(), 30);
    EXPECT_EQ(devices->mic->getChangeSampleBy(), 120);
}

}  // namespace
}  // namespace veltrin::testing
