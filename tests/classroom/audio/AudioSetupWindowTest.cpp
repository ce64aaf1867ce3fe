// The audio setup test window with fake devices: pop-ups, the playback sample, the microphone loop
// and what is stored.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

#include "app/core/DefaultFlags.h"
#include "classroom/audio/AudioSetupWindow.h"
#include "classroom/audio/VolumeSlider.h"
#include "tests/audio/FakeAudioDevices.h"
#include "tests/classroom/FakeShell.h"
#include "tests/support/ServerProcess.h"

namespace veltrin::testing {
namespace {

int listDevices(std::vector<audio::AudioDeviceEntry>& entries, bool input, bool output, bool addDefault) {
    entries.clear();
    if (addDefault) entries.push_back({-1, "Default Device"});
    if (input) entries.push_back({0, "USB Headset"});
    if (output) entries.push_back({0, "USB Headset"});
    if (output) entries.push_back({1, "Speakers"});
    return 2;
}

struct SetupWindowTest : ::testing::Test {
    void SetUp() override {
        shell.settings.setDefAudioOutputDeviceId(1);
        shell.settings.setDefAudioInputDeviceId(5);  // gone: the default entry is selected
    }
    std::unique_ptr<AudioSetupWindow> open() {
        auto w = std::make_unique<AudioSetupWindow>(shell.settings, devices, &listDevices, false, nullptr);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        return w;
    }
    QString writeSample(int wholeBlocks, int trailing) {
        const QString path = shell.dir.filePath(QStringLiteral("sample.wav"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray bytes(60, 'h');
        for (int b = 0; b < wholeBlocks; ++b) bytes.append(QByteArray(320, char(b + 1)));
        bytes.append(QByteArray(trailing, 'x'));
        f.write(bytes);
        return path;
    }

    FakeShell shell;
    std::shared_ptr<audio::test::FakeDevices> devices = std::make_shared<audio::test::FakeDevices>();
};

TEST_F(SetupWindowTest, PopupsStartWithTheDefaultEntryAndSelectTheStoredDevice) {
    auto w = open();
    ASSERT_EQ(w->speakerPopup()->count(), 3);
    EXPECT_EQ(w->speakerPopup()->itemText(0), QStringLiteral("Default Device"));
    EXPECT_EQ(w->speakerPopup()->itemData(0).toInt(), -1);
    EXPECT_EQ(w->speakerPopup()->currentText(), QStringLiteral("Speakers"));
    EXPECT_EQ(w->microphonePopup()->count(), 2);
    EXPECT_EQ(w->microphonePopup()->currentIndex(), 0);
    EXPECT_EQ(w->currentPage(), AudioSetupWindow::kPlaybackPage);
    w->acNextTest();
    EXPECT_EQ(w->currentPage(), AudioSetupWindow::kMicrophonePage);
    EXPECT_EQ(w->nextButton()->text(), QStringLiteral("<< Playback Test"));
    w->acNextTest();
    EXPECT_EQ(w->nextButton()->text(), QStringLiteral("Microphone Test >>"));
}

TEST_F(SetupWindowTest, PlaybackFeedsTheWholeBlocksOfTheSampleAndStoresTheSpeaker) {
    auto w = open();
    w->setSamplePath(writeSample(3, 100));
    w->acPlay();
    EXPECT_EQ(w->playButton()->text(), QStringLiteral("STOP"));
    EXPECT_FALSE(w->nextButton()->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return w->playButton()->text() == QStringLiteral("Start Over"); }));
    EXPECT_EQ(w->blocksFed(), 3);
    ASSERT_EQ(devices->outputIds, std::vector<int>{1});
    EXPECT_TRUE(w->nextButton()->isEnabled());
    EXPECT_EQ(w->wavSlider()->progressCurrentValue(), 0);
    EXPECT_EQ(shell.settings.defAudioOutputDeviceId(), 1);
    EXPECT_EQ(shell.settings.defAudioOutputDeviceName(), QStringLiteral("Speakers"));
}

TEST_F(SetupWindowTest, PlayDuringAPlaybackTestStopsIt) {
    auto w = open();
    w->setSamplePath(writeSample(40, 0));
    w->acPlay();
    ASSERT_TRUE(w->testRunning());
    w->acPlay();
    ASSERT_TRUE(waitUntil([&] { return w->playButton()->text() == QStringLiteral("Start Over"); }));
    EXPECT_LT(w->blocksFed(), 40);
    EXPECT_FALSE(w->testRunning());
}

TEST_F(SetupWindowTest, TheMicrophoneTestLoopsBlocksToThePlayer) {
    auto w = open();
    w->acRec();
    ASSERT_TRUE(waitUntil([&] { return devices->mic != nullptr && devices->mic->running; }));
    EXPECT_FALSE(w->microphonePopup()->isEnabled());
    devices->mic->speak(std::vector<std::uint8_t>(320, 9));
    ASSERT_EQ(devices->players.size(), 1u);
    EXPECT_EQ(devices->players[0]->blocks().size(), 1u);
    w->acRec();
    ASSERT_TRUE(waitUntil([&] { return w->recordButton()->text() == QStringLiteral("Try Again"); }));
    EXPECT_TRUE(w->microphonePopup()->isEnabled());
    EXPECT_EQ(shell.settings.defAudioInputDeviceId(), -1);
    EXPECT_EQ(shell.settings.defAudioInputDeviceName(), QString());
}

TEST_F(SetupWindowTest, AutomaticMicrophoneSettingFixesTheSlider) {
    shell.settings.setDefAutoMicSettings(false);
    shell.settings.setDefStoredMicVolume(40);
    auto w = open();
    EXPECT_TRUE(w->micSlider()->isEnabled());
    EXPECT_EQ(w->micSlider()->value(), 40);
    w->automaticMicBox()->setChecked(true);
    EXPECT_FALSE(w->micSlider()->isEnabled());
    EXPECT_EQ(w->micSlider()->value(), 79);
    w->close();
    EXPECT_TRUE(shell.settings.defAutoMicSettings());
}

TEST(VolumeSlider, LevelBarWidthFollowsTheLevel) {
    VolumeSlider s;
    s.setProgressValues(32767, 0, 32767, Qt::green);
    EXPECT_EQ(s.progressWidth(104), 100);
    s.setProgressValues(0, 0, 32767, Qt::green);
    EXPECT_EQ(s.progressWidth(104), 0);
    s.setProgressValues(5, 0, 0, Qt::green);
    EXPECT_EQ(s.progressWidth(104), 0) << "no range, no bar";
}

}  // namespace
}  // namespace veltrin::testing
