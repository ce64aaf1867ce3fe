#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "wire/Log.h"

namespace veltrin::testing {

// Collects the log while alive.
class LogCapture {
public:
    LogCapture() {
        setLogSink([this](std::string_view line) {
            std::lock_guard lock(mutex_);
            lines_.emplace_back(line);
        });
    }
    ~LogCapture() { setLogSink({}); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    bool contains(std::string_view fragment) const {
        for (const std::string& line : lines())
            if (line.find(fragment) != std::string::npos) return true;
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace veltrin::testing
