#include "audio/PlaybackQueue.h"

#include <algorithm>
#include <cstring>

namespace veltrin::audio {

PlaybackQueue::PlaybackQueue(std::size_t capacityBytes) : storage_(capacityBytes) {}

std::size_t PlaybackQueue::append(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    const std::size_t cap = storage_.size();
    const std::size_t n = std::min(bytes.size(), cap - count_);
    std::size_t tail = (head_ + count_) % (cap == 0 ? 1 : cap);
    std::size_t done = 0;
    while (done < n) {
        const std::size_t run = std::min(n - done, cap - tail);
        std::memcpy(storage_.data() + tail, bytes.data() + done, run);
        done += run;
        tail = (tail + run) % cap;
    }
    count_ += n;
    return n;
}

std::size_t PlaybackQueue::take(std::span<std::uint8_t> out) {
    std::size_t n = 0;
    {
        std::lock_guard lock(mutex_);
        const std::size_t cap = storage_.size();
        n = std::min(out.size(), count_);
        std::size_t done = 0;
        while (done < n) {
            const std::size_t run = std::min(n - done, cap - head_);
            std::memcpy(out.data() + done, storage_.data() + head_, run);
            done += run;
            head_ = (head_ + run) % cap;
        }
        count_ -= n;
        if (count_ == 0) head_ = 0;
    }
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(n), out.end(), std::uint8_t{0});
    return n;
}

std::size_t PlaybackQueue::queued() const {
    std::lock_guard lock(mutex_);
    return count_;
}

void PlaybackQueue::clear() {
    std::lock_guard lock(mutex_);
    head_ = 0;
    count_ = 0;
}

}  // namespace veltrin::audio
