#include "app/core/DefaultFlags.h"

#include <QVariant>

#include <array>
#include <variant>

#include "app/core/VeltrinTools.h"
#include "wire/Log.h"

namespace veltrin {
namespace {

using Values = DefaultFlags::Values;
using Field = std::variant<int Values::*, bool Values::*, QString Values::*>;

struct Key {
    const char* name;
    Field field;
};

// Every persisted key. The microphones count is deliberately absent: it belongs to the room.
constexpr std::array<Key, 29> Keys{{
    {"VCProxyType", &Values::proxyType},
    {"VCProxyAddress", &Values::proxyAddress},
    {"VCProxyPort", &Values::proxyPort},
    {"VCProxyUsername", &Values::proxyUsername},
    {"VCProxyPassword", &Values::proxyPassword},
    {"BytesPerSecond", &Values::bytesPerSecond},
    {"AudioInputDeviceId", &Values::audioInputDeviceId},
    {"AudioInputDeviceName", &Values::audioInputDeviceName},
    {"AudioOutputDeviceId", &Values::audioOutputDeviceId},
    {"AudioOutputDeviceName", &Values::audioOutputDeviceName},
    {"AutoMicSettings", &Values::autoMicSettings},
    {"PushToTalkKey", &Values::pushToTalkKey},
    {"StoredWavVolume", &Values::storedWavVolume},
    {"StoredMicVolume", &Values::storedMicVolume},
    {"RecordingReminder", &Values::recordingReminder},
    {"RecordingRobotName", &Values::recordingRobotName},
    {"StoredPenWidth", &Values::storedPenWidth},
    {"StoredTextSize", &Values::storedTextSize},
    {"StoredHighliterWidth", &Values::storedHighliterWidth},
    {"VideoSelectedWebCam", &Values::videoSelectedWebCam},
    {"VideoFrameWidth", &Values::videoFrameWidth},
    {"VideoFrameHeight", &Values::videoFrameHeight},
    {"ShowModeratorTips", &Values::showModeratorTips},
    {"BeepOnEnter", &Values::beepOnEnter},
    {"BeepOnExit", &Values::beepOnExit},
    {"BeepOnMessages", &Values::beepOnMessages},
    {"BeepOnMotions", &Values::beepOnMotions},
    {"ShowNotificationsInChat", &Values::showNotificationsInChat},
    {"SlideUploadQuality", &Values::slideUploadQuality},
}};

// A hand-edited or damaged preference file must not turn into a surprising value (a "yes" proxy
// type, a "banana" port): anything that does not read cleanly as its type keeps the default.
int readInt(const QVariant& raw, int fallback) {
    bool ok = false;
    const int value = raw.toInt(&ok);
    return ok ? value : fallback;
}

bool readBool(const QVariant& raw, bool fallback) {
    if (raw.typeId() == QMetaType::Bool) return raw.toBool();
    const QString text = raw.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
    if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
    return fallback;
}

QString readString(const QVariant& raw) {
    // An INI value with an unquoted comma reads back as a list.
    if (raw.typeId() == QMetaType::QStringList) return raw.toStringList().join(u',');
    return raw.toString();
}

std::unique_ptr<QSettings> openStore(const DefaultFlags::Storage& storage) {
    if (storage.fileName.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           QLatin1String(DefaultFlags::Organization),
                                           QLatin1String(DefaultFlags::Application));
    return std::make_unique<QSettings>(storage.fileName, storage.format);
}

}  // namespace

DefaultFlags::DefaultFlags() : DefaultFlags(Storage{}) {}

DefaultFlags::DefaultFlags(const Storage& storage) : settings_(openStore(storage)) { LoadDefaultProperties(); }

DefaultFlags::~DefaultFlags() = default;

void DefaultFlags::LoadDefaultProperties() {
    settings_->sync();
    const Values defaults;
    const int mikesCount = v_.mikesCount;
    for (const Key& key : Keys) {
        const QVariant raw = settings_->value(QLatin1String(key.name));
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(v_.*member)>;
                if (!raw.isValid()) {
                    v_.*member = defaults.*member;
                } else if constexpr (std::is_same_v<T, int>) {
                    v_.*member = readInt(raw, defaults.*member);
                } else if constexpr (std::is_same_v<T, bool>) {
                    v_.*member = readBool(raw, defaults.*member);
                } else {
                    v_.*member = readString(raw);
                }
            },
            key.field);
    }
    v_.mikesCount = mikesCount;

    if (!settings_->contains(QStringLiteral("BytesPerSecond"))) logLine("BPS DOES NOT EXIST");
    // While the level is automatic, a volume left over from a manual session would fight the
    // automatic gain; it always starts from the automatic level.
    if (v_.autoMicSettings) v_.storedMicVolume = AutoMicVolume;
    // A name without an id would describe a device that is not the one in use.
    if (v_.audioInputDeviceId == -1) v_.audioInputDeviceName.clear();
    if (v_.audioOutputDeviceId == -1) v_.audioOutputDeviceName.clear();
}

bool DefaultFlags::SaveDefaultProperties() {
    for (const Key& key : Keys) {
        std::visit([&](auto member) { settings_->setValue(QLatin1String(key.name), QVariant(v_.*member)); },
                   key.field);
    }
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

void DefaultFlags::ResetAllDefaults() {
    settings_->clear();
    settings_->sync();
}

SocksProxy DefaultFlags::socksProxy() const {
    return VeltrinTools::makeSocksProxy(v_.proxyType, v_.proxyAddress, v_.proxyPort, v_.proxyUsername,
                                        v_.proxyPassword);
}

}  // namespace veltrin
