#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/LogCapture.h"
#include "app/core/DefaultFlags.h"

namespace veltrin {
namespace {

class DefaultFlagsTest : public ::testing::Test {
protected:
    DefaultFlags::Storage storage() const { return {dir_.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat}; }
    QSettings raw() const { return QSettings(storage().fileName, QSettings::IniFormat); }

    QTemporaryDir dir_;
};

struct KeyCase {
    const char* key;
    QVariant expectedDefault;
    std::function<QVariant(const DefaultFlags&)> read;
};

// Every persisted key, its default and how the store exposes it.
const std::vector<KeyCase>& keyCases() {
    static const std::vector<KeyCase> cases{
        {"VCProxyType", 0, [](const DefaultFlags& f) { return QVariant(f.defProxyType()); }},
        {"VCProxyAddress", QString(), [](const DefaultFlags& f) { return QVariant(f.defProxyAddress()); }},
        {"VCProxyPort", 1080, [](const DefaultFlags& f) { return QVariant(f.defProxyPort()); }},
        {"VCProxyUsername", QString(), [](const DefaultFlags& f) { return QVariant(f.defProxyUsername()); }},
        {"VCProxyPassword", QString(), [](const DefaultFlags& f) { return QVariant(f.defProxyPassword()); }},
        {"BytesPerSecond", 0, [](const DefaultFlags& f) { return QVariant(f.defBytesPerSecond()); }},
        {"AudioInputDeviceId", -1, [](const DefaultFlags& f) { return QVariant(f.defAudioInputDeviceId()); }},
        {"AudioInputDeviceName", QString(), [](const DefaultFlags& f) { return QVariant(f.defAudioInputDeviceName()); }},
        {"AudioOutputDeviceId", -1, [](const DefaultFlags& f) { return QVariant(f.defAudioOutputDeviceId()); }},
        {"AudioOutputDeviceName", QString(), [](const DefaultFlags& f) { return QVariant(f.defAudioOutputDeviceName()); }},
        {"AutoMicSettings", true, [](const DefaultFlags& f) { return QVariant(f.defAutoMicSettings()); }},
        {"PushToTalkKey", 120, [](const DefaultFlags& f) { return QVariant(f.defPushToTalkKey()); }},
        {"StoredWavVolume", 79, [](const DefaultFlags& f) { return QVariant(f.defStoredWavVolume()); }},
        {"StoredMicVolume", 79, [](const DefaultFlags& f) { return QVariant(f.defStoredMicVolume()); }},
        {"RecordingReminder", false, [](const DefaultFlags& f) { return QVariant(f.defRecordingReminder()); }},
        {"RecordingRobotName", QString(), [](const DefaultFlags& f) { return QVariant(f.defRecordingRobotName()); }},
        {"StoredPenWidth", 3, [](const DefaultFlags& f) { return QVariant(f.defStoredPenWidth()); }},
        {"StoredTextSize", 12, [](const DefaultFlags& f) { return QVariant(f.defStoredTextSize()); }},
        {"StoredHighliterWidth", 15, [](const DefaultFlags& f) { return QVariant(f.defStoredHighliterWidth()); }},
        {"VideoSelectedWebCam", QString(), [](const DefaultFlags& f) { return QVariant(f.defVideoSelectedWebCam()); }},
        {"VideoFrameWidth", 160, [](const DefaultFlags& f) { return QVariant(f.defVideoFrameWidth()); }},
        {"VideoFrameHeight", 120, [](const DefaultFlags& f) { return QVariant(f.defVideoFrameHeight()); }},
        {"ShowModeratorTips", true, [](const DefaultFlags& f) { return QVariant(f.defShowModeratorTips()); }},
        {"BeepOnEnter", false, [](const DefaultFlags& f) { return QVariant(f.defBeepOnEnter()); }},
        {"BeepOnExit", false, [](const DefaultFlags& f) { return QVariant(f.defBeepOnExit()); }},
        {"BeepOnMessages", false, [](const DefaultFlags& f) { return QVariant(f.defBeepOnMessages()); }},
        {"BeepOnMotions", false, [](const DefaultFlags& f) { return QVariant(f.defBeepOnMotions()); }},
        {"ShowNotificationsInChat", true, [](const DefaultFlags& f) { return QVariant(f.defShowNotificationsInChat()); }},
        {"SlideUploadQuality", 800, [](const DefaultFlags& f) { return QVariant(f.defSlideUploadQuality()); }},
    };
    return cases;
}

// Sets every value to something other than its default.
void changeEverything(DefaultFlags& f) {
    f.setDefProxyType(2);
    f.setDefProxyAddress(QStringLiteral("proxy.example, inc"));  // a comma must survive the INI file
    f.setDefProxyPort(1081);
    f.setDefProxyUsername(QStringLiteral("ann"));
    f.setDefProxyPassword(QStringLiteral("pw"));
    f.setDefBytesPerSecond(64000);
    f.setDefAudioInputDeviceId(3);
    f.setDefAudioInputDeviceName(QStringLiteral("USB Mic"));
    f.setDefAudioOutputDeviceId(4);
    f.setDefAudioOutputDeviceName(QStringLiteral("Speakers"));
    f.setDefAutoMicSettings(false);
    f.setDefPushToTalkKey(49);
    f.setDefStoredWavVolume(50);
    f.setDefStoredMicVolume(30);
    f.setDefRecordingReminder(true);
    f.setDefRecordingRobotName(QStringLiteral("Recorder"));
    f.setDefStoredPenWidth(5);
    f.setDefStoredTextSize(18);
    f.setDefStoredHighliterWidth(20);
    f.setDefVideoSelectedWebCam(QStringLiteral("cam-1"));
    f.setDefVideoFrameWidth(640);
    f.setDefVideoFrameHeight(480);
    f.setDefShowModeratorTips(false);
    f.setDefBeepOnEnter(true);
    f.setDefBeepOnExit(true);
    f.setDefBeepOnMessages(true);
    f.setDefBeepOnMotions(true);
    f.setDefShowNotificationsInChat(false);
    f.setDefSlideUploadQuality(1024);
}

TEST_F(DefaultFlagsTest, AnEmptyStoreLoadsEveryDefault) {
    testing::LogCapture log;
    const DefaultFlags flags(storage());
    for (const KeyCase& c : keyCases()) EXPECT_EQ(c.read(flags), c.expectedDefault) << c.key;
    EXPECT_EQ(flags.defMikesCount(), 0);
    EXPECT_TRUE(log.contains("BPS DOES NOT EXIST"));
}

TEST_F(DefaultFlagsTest, SaveWritesEveryKeyButTheMicrophonesCountAndLoadsBackTheSame) {
    {
        DefaultFlags flags(storage());
        changeEverything(flags);
        flags.setDefMikesCount(4);
        ASSERT_TRUE(flags.SaveDefaultProperties());
    }
    QStringList expectedKeys;
    for (const KeyCase& c : keyCases()) expectedKeys << QString::fromLatin1(c.key);
    QStringList storedKeys = raw().allKeys();
    storedKeys.sort();
    expectedKeys.sort();
    EXPECT_EQ(storedKeys, expectedKeys);

    DefaultFlags::Storage other{dir_.filePath(QStringLiteral("other.ini")), QSettings::IniFormat};
    DefaultFlags expected(other);
    testing::LogCapture log;
    DefaultFlags reloaded(storage());
    changeEverything(expected);
    for (const KeyCase& c : keyCases()) {
        EXPECT_EQ(c.read(reloaded), c.read(expected)) << c.key;
        EXPECT_NE(c.read(reloaded), c.expectedDefault) << c.key << " was not really changed";
    }
    EXPECT_EQ(reloaded.defMikesCount(), 0);
    EXPECT_FALSE(log.contains("BPS DOES NOT EXIST"));
}

TEST_F(DefaultFlagsTest, AutomaticMicrophoneLevelResetsTheStoredVolume) {
    {
        QSettings prefs = raw();
        prefs.setValue(QStringLiteral("AutoMicSettings"), true);
        prefs.setValue(QStringLiteral("StoredMicVolume"), 30);
    }
    DefaultFlags flags(storage());
    EXPECT_EQ(flags.defStoredMicVolume(), 79);

    flags.setDefAutoMicSettings(false);
    flags.setDefStoredMicVolume(30);
    flags.SaveDefaultProperties();
    flags.LoadDefaultProperties();
    EXPECT_EQ(flags.defStoredMicVolume(), 30);
}

TEST_F(DefaultFlagsTest, DeviceNamesOfTheDefaultDeviceLoadEmpty) {
    {
        QSettings prefs = raw();
        prefs.setValue(QStringLiteral("AudioInputDeviceId"), -1);
        prefs.setValue(QStringLiteral("AudioInputDeviceName"), QStringLiteral("Old Mic"));
        prefs.setValue(QStringLiteral("AudioOutputDeviceId"), -1);
        prefs.setValue(QStringLiteral("AudioOutputDeviceName"), QStringLiteral("Old Speakers"));
    }
    DefaultFlags flags(storage());
    EXPECT_EQ(flags.defAudioInputDeviceName(), QString());
    EXPECT_EQ(flags.defAudioOutputDeviceName(), QString());

    {
        QSettings prefs = raw();
        prefs.setValue(QStringLiteral("AudioInputDeviceId"), 2);
        prefs.setValue(QStringLiteral("AudioInputDeviceName"), QStringLiteral("Old Mic"));
    }
    flags.LoadDefaultProperties();
    EXPECT_EQ(flags.defAudioInputDeviceName(), QStringLiteral("Old Mic"));
    EXPECT_EQ(flags.defAudioOutputDeviceName(), QString());
}

TEST_F(DefaultFlagsTest, UnreadableValuesKeepTheirDefaults) {
    {
        QSettings prefs = raw();
        prefs.setValue(QStringLiteral("VCProxyPort"), QStringLiteral("banana"));
        prefs.setValue(QStringLiteral("AutoMicSettings"), QStringLiteral("perhaps"));
        prefs.setValue(QStringLiteral("BeepOnEnter"), QStringLiteral("true"));
        prefs.setValue(QStringLiteral("StoredTextSize"), QStringLiteral("14"));
    }
    const DefaultFlags flags(storage());
    EXPECT_EQ(flags.defProxyPort(), 1080);
    EXPECT_TRUE(flags.defAutoMicSettings());
    EXPECT_TRUE(flags.defBeepOnEnter());
    EXPECT_EQ(flags.defStoredTextSize(), 14);
}

TEST_F(DefaultFlagsTest, ResetEmptiesTheStoreButKeepsValuesUntilTheNextLoad) {
    DefaultFlags flags(storage());
    changeEverything(flags);
    flags.SaveDefaultProperties();
    flags.setDefMikesCount(2);

    flags.ResetAllDefaults();
    EXPECT_TRUE(raw().allKeys().isEmpty());
    EXPECT_EQ(flags.defProxyType(), 2);
    EXPECT_EQ(flags.defSlideUploadQuality(), 1024);

    flags.LoadDefaultProperties();
    for (const KeyCase& c : keyCases()) EXPECT_EQ(c.read(flags), c.expectedDefault) << c.key;
    EXPECT_EQ(flags.defMikesCount(), 2) << "the microphones count belongs to the room, not to the store";
}

TEST_F(DefaultFlagsTest, BuildsTheSocksProxyOfTheConnectionSettings) {
    DefaultFlags flags(storage());
    flags.setDefProxyAddress(QStringLiteral("proxy.example"));
    flags.setDefProxyPort(1081);
    flags.setDefProxyUsername(QStringLiteral("ann"));
    flags.setDefProxyPassword(QStringLiteral("pw"));
    struct Case {
        int type;
        int version;
    };
    for (const Case c : {Case{0, 0}, Case{1, 4}, Case{2, 5}, Case{3, 0}, Case{-1, 0}}) {
        flags.setDefProxyType(c.type);
        const SocksProxy proxy = flags.socksProxy();
        EXPECT_EQ(proxy.version, c.version) << c.type;
        if (c.version != 0) {
            EXPECT_EQ(proxy, (SocksProxy{c.version, "proxy.example", 1081, "ann", "pw"}));
        }
    }
}

}  // namespace
}  // namespace veltrin
