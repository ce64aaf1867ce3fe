#pragma once

#include <QSettings>
#include <QString>

#include <memory>

#include "platform/TcpStreamPair.h"

namespace veltrin {

// The user's persistent settings, with their defaults. The application delegate owns the one
// instance and passes it to whoever needs it. Written only on the main thread between connections;
// connection threads read it while no one writes.
class DefaultFlags {
public:
    static constexpr char Organization[] = "Veltrin";
    static constexpr char Application[] = "Veltrin";

    // Where the preferences live. Empty: the user's own store for Organization/Application. Tests
    // pass a file of their own so that they never touch it.
    struct Storage {
        QString fileName;
        QSettings::Format format = QSettings::IniFormat;
    };

    // The values in memory. Member initialisers are the defaults used for absent keys.
    struct Values {
        int proxyType = 0;  // 0 none, 1 SOCKS 4, 2 SOCKS 5
        QString proxyAddress;
        int proxyPort = 1080;
        QString proxyUsername;
        QString proxyPassword;
        int bytesPerSecond = 0;  // 0: unthrottled
        int audioInputDeviceId = -1;  // -1: the default device
        QString audioInputDeviceName;
        int audioOutputDeviceId = -1;
        QString audioOutputDeviceName;
        bool autoMicSettings = true;
        int pushToTalkKey = 120;
        int storedWavVolume = 79;
        int storedMicVolume = 79;
        bool recordingReminder = false;
        QString recordingRobotName;
        int storedPenWidth = 3;
        int storedTextSize = 12;
        int storedHighliterWidth = 15;
        QString videoSelectedWebCam;
        int videoFrameWidth = 160;
        int videoFrameHeight = 120;
        bool showModeratorTips = true;
        bool beepOnEnter = false;
        bool beepOnExit = false;
        bool beepOnMessages = false;
        bool beepOnMotions = false;
        bool showNotificationsInChat = true;
        int slideUploadQuality = 800;
        // Set by the room data and the settings window; never persisted.
        int mikesCount = 0;
    };

    static constexpr int AutoMicVolume = 79;

    // Opens the store and loads every value at once.
    DefaultFlags();
    explicit DefaultFlags(const Storage& storage);
    ~DefaultFlags();
    DefaultFlags(const DefaultFlags&) = delete;
    DefaultFlags& operator=(const DefaultFlags&) = delete;

    // Reads every key; absent or unreadable values take their defaults.
    void LoadDefaultProperties();
    // Writes every key but the microphones count; answers whether the store took them.
    bool SaveDefaultProperties();
    // Empties the whole preference domain. The values in memory stay until the next load.
    void ResetAllDefaults();

    // The SOCKS configuration of the connection settings (version 0 when no proxy is chosen).
    SocksProxy socksProxy() const;

    int defProxyType() const { return v_.proxyType; }
    void setDefProxyType(int value) { v_.proxyType = value; }
    QString defProxyAddress() const { return v_.proxyAddress; }
    void setDefProxyAddress(const QString& value) { v_.proxyAddress = value; }
    int defProxyPort() const { return v_.proxyPort; }
    void setDefProxyPort(int value) { v_.proxyPort = value; }
    QString defProxyUsername() const { return v_.proxyUsername; }
    void setDefProxyUsername(const QString& value) { v_.proxyUsername = value; }
    QString defProxyPassword() const { return v_.proxyPassword; }
    void setDefProxyPassword(const QString& value) { v_.proxyPassword = value; }
    int defBytesPerSecond() const { return v_.bytesPerSecond; }
    void setDefBytesPerSecond(int value) { v_.bytesPerSecond = value; }
    int defAudioInputDeviceId() const { return v_.audioInputDeviceId; }
    void setDefAudioInputDeviceId(int value) { v_.audioInputDeviceId = value; }
    QString defAudioInputDeviceName() const { return v_.audioInputDeviceName; }
    void setDefAudioInputDeviceName(const QString& value) { v_.audioInputDeviceName = value; }
    int defAudioOutputDeviceId() const { return v_.audioOutputDeviceId; }
    void setDefAudioOutputDeviceId(int value) { v_.audioOutputDeviceId = value; }
    QString defAudioOutputDeviceName() const { return v_.audioOutputDeviceName; }
    void setDefAudioOutputDeviceName(const QString& value) { v_.audioOutputDeviceName = value; }
    bool defAutoMicSettings() const { return v_.autoMicSettings; }
    void setDefAutoMicSettings(bool value) { v_.autoMicSettings = value; }
    int defPushToTalkKey() const { return v_.pushToTalkKey; }
    void setDefPushToTalkKey(int value) { v_.pushToTalkKey = value; }
    int defStoredWavVolume() const { return v_.storedWavVolume; }
    void setDefStoredWavVolume(int value) { v_.storedWavVolume = value; }
    int defStoredMicVolume() const { return v_.storedMicVolume; }
    void setDefStoredMicVolume(int value) { v_.storedMicVolume = value; }
    bool defRecordingReminder() const { return v_.recordingReminder; }
    void setDefRecordingReminder(bool value) { v_.recordingReminder = value; }
    QString defRecordingRobotName() const { return v_.recordingRobotName; }
    void setDefRecordingRobotName(const QString& value) { v_.recordingRobotName = value; }
    int defStoredPenWidth() const { return v_.storedPenWidth; }
    void setDefStoredPenWidth(int value) { v_.storedPenWidth = value; }
    int defStoredTextSize() const { return v_.storedTextSize; }
    void setDefStoredTextSize(int value) { v_.storedTextSize = value; }
    int defStoredHighliterWidth() const { return v_.storedHighliterWidth; }
    void setDefStoredHighliterWidth(int value) { v_.storedHighliterWidth = value; }
    QString defVideoSelectedWebCam() const { return v_.videoSelectedWebCam; }
    void setDefVideoSelectedWebCam(const QString& value) { v_.videoSelectedWebCam = value; }
    int defVideoFrameWidth() const { return v_.videoFrameWidth; }
    void setDefVideoFrameWidth(int value) { v_.videoFrameWidth = value; }
    int defVideoFrameHeight() const { return v_.videoFrameHeight; }
    void setDefVideoFrameHeight(int value) { v_.videoFrameHeight = value; }
    bool defShowModeratorTips() const { return v_.showModeratorTips; }
    void setDefShowModeratorTips(bool value) { v_.showModeratorTips = value; }
    bool defBeepOnEnter() const { return v_.beepOnEnter; }
    void setDefBeepOnEnter(bool value) { v_.beepOnEnter = value; }
    bool defBeepOnExit() const { return v_.beepOnExit; }
    void setDefBeepOnExit(bool value) { v_.beepOnExit = value; }
    bool defBeepOnMessages() const { return v_.beepOnMessages; }
    void setDefBeepOnMessages(bool value) { v_.beepOnMessages = value; }
    bool defBeepOnMotions() const { return v_.beepOnMotions; }
    void setDefBeepOnMotions(bool value) { v_.beepOnMotions = value; }
    bool defShowNotificationsInChat() const { return v_.showNotificationsInChat; }
    void setDefShowNotificationsInChat(bool value) { v_.showNotificationsInChat = value; }
    int defSlideUploadQuality() const { return v_.slideUploadQuality; }
    void setDefSlideUploadQuality(int value) { v_.slideUploadQuality = value; }
    int defMikesCount() const { return v_.mikesCount; }
    void setDefMikesCount(int value) { v_.mikesCount = value; }

private:
    std::unique_ptr<QSettings> settings_;
    Values v_;
};

}  // namespace veltrin
