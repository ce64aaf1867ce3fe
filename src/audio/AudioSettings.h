#pragma once

#include "audio/AudioConnector.h"

namespace veltrin {
class DefaultFlags;
}

namespace veltrin::audio {

// The proxy, the stored devices and "AutoMicSettings" of the settings store. Read on the thread
// that connects, while the main thread does not write the store (DefaultFlags' contract).
AudioChannelSettings audioChannelSettingsFrom(const DefaultFlags& flags);

// Forgets a stored device that no longer exists (AudioConnectorObserver::storedAudioDeviceReset):
// id -1 and an empty name. Main thread.
void resetStoredAudioDevice(DefaultFlags& flags, bool input);

}  // namespace veltrin::audio
