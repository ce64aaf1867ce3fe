#include "session/ConnectorSettings.h"

#include "app/core/DefaultFlags.h"

namespace veltrin {

ConnectorSettings connectorSettingsFrom(const DefaultFlags& flags) {
    ConnectorSettings settings;
    settings.proxy = flags.socksProxy();
    settings.bytesPerSecond = flags.defBytesPerSecond();
    return settings;
}

}  // namespace veltrin
