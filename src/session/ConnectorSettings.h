#pragma once

#include "platform/TcpStreamPair.h"

namespace veltrin {

class DefaultFlags;

// What a main-connection attempt takes from the settings store.
struct ConnectorSettings {
    SocksProxy proxy;        // version 0: a direct connection
    int bytesPerSecond = 0;  // writer throttle; 0 or less: unthrottled
    // Bound on the log-on exchange, so that a server that accepts and then says nothing cannot hold
    // the connecting thread (the version check is bounded by the connect timeout).
    int logOnTimeoutMs = 20000;
};

// The proxy and "BytesPerSecond" of the settings store.
ConnectorSettings connectorSettingsFrom(const DefaultFlags& flags);

}  // namespace veltrin
