#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace veltrin::audio {

// Decoded sound waiting for a speaker device: a bounded byte queue between the thread that
// decodes blocks and the device callback. The storage is allocated once, at construction, and the
// lock is held only for the copy in or out, so the device callback never allocates and never
// waits for decoding.
class PlaybackQueue {
public:
    static constexpr std::size_t kDefaultCapacity = 48000;  // 1.5 s: also bounds the delay

    explicit PlaybackQueue(std::size_t capacityBytes = kDefaultCapacity);

    // Appends as much of `bytes` as fits; the rest is lost. Answers the count appended.
    std::size_t append(std::span<const std::uint8_t> bytes);
    // Fills `out` from the front of the queue and the rest of it with silence; answers the count
    // of queued bytes that went out.
    std::size_t take(std::span<std::uint8_t> out);

    std::size_t queued() const;
    std::size_t capacity() const { return storage_.size(); }
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::uint8_t> storage_;
    std::size_t head_ = 0;   // index of the oldest queued byte
    std::size_t count_ = 0;  // queued bytes
};

}  // namespace veltrin::audio
