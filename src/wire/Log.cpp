#include "Log.h"

#include <syslog.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace veltrin {
namespace {

std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}

LogSink& sink() {
    static LogSink s;
    return s;
}

void writeDefault(std::string_view text) {
    static std::once_flag opened;
    std::call_once(opened, [] { openlog("veltrin", LOG_PID, LOG_USER); });
    syslog(LOG_NOTICE, "%.*s", static_cast<int>(text.size()), text.data());
    // End-to-end tests read the client's log from stderr, hence the override.
    static const bool toStderr = isatty(STDERR_FILENO) == 1 || std::getenv("VELTRIN_LOG_STDERR") != nullptr;
    if (toStderr) std::fprintf(stderr, "veltrin: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace

void logLine(std::string_view text) {
    LogSink current;
    {
        std::lock_guard lock(sinkMutex());
        current = sink();
    }
    if (current)
        current(text);
    else
        writeDefault(text);
}

void logf(const char* format, ...) {
    char small[512];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) {
        va_end(copy);
        return;
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        va_end(copy);
        logLine(std::string_view(small, static_cast<std::size_t>(n)));
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(big.data(), big.size(), format, copy);
    va_end(copy);
    big.resize(static_cast<std::size_t>(n));
    logLine(big);
}

void setLogSink(LogSink s) {
    std::lock_guard lock(sinkMutex());
    sink() = std::move(s);
}

}  // namespace veltrin
