#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "wire/Log.h"

namespace veltrin::testing {

// Collects the log while alive. The lines live in state the sink shares, so a thread that is still
// inside the sink when the capture goes away does not touch freed memory.
class LogCapture {
public:
    LogCapture() : state_(std::make_shared<State>()) {
        setLogSink([state = state_](std::string_view line) {
            {
                std::lock_guard lock(state->mutex);
                state->lines.emplace_back(line);
            }
            state->logged.notify_all();
        });
    }
    ~LogCapture() { setLogSink({}); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const {
        std::lock_guard lock(state_->mutex);
        return state_->lines;
    }
    // A line equal to `line`.
    bool hasLine(std::string_view line) const {
        std::lock_guard lock(state_->mutex);
        return std::find(state_->lines.begin(), state_->lines.end(), line) != state_->lines.end();
    }
    // A line containing `fragment`.
    bool contains(std::string_view fragment) const {
        std::lock_guard lock(state_->mutex);
        return std::any_of(state_->lines.begin(), state_->lines.end(),
                           [&](const std::string& l) { return l.find(fragment) != std::string::npos; });
    }
    // Waits until a line equal to `line` has been logged; false after the limit.
    bool waitFor(std::string_view line, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(state_->mutex);
        return state_->logged.wait_for(lock, limit, [&] {
            return std::find(state_->lines.begin(), state_->lines.end(), line) != state_->lines.end();
        });
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable logged;
        std::vector<std::string> lines;
    };
    std::shared_ptr<State> state_;
};

}  // namespace veltrin::testing
