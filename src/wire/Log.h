#pragma once

#include <functional>
#include <string_view>

namespace veltrin {

// The one way diagnostics leave the process: the system log, plus stderr when a terminal is
// attached (or VELTRIN_LOG_STDERR is set). The texts are fixed phrases (e.g. "Entering readerThreadProc"); there are no levels.
// Never pass a password in.
void logLine(std::string_view text);
void logf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Tests observe the log through a sink; pass an empty function to restore the default behaviour.
// The sink is called from whichever thread logs.
using LogSink = std::function<void(std::string_view)>;
void setLogSink(LogSink sink);

}  // namespace veltrin
