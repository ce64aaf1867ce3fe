#include "server/core/FrameAssembler.h"

namespace veltrin::server {

void FrameAssembler::expectBlock(std::size_t size) {
    mode_ = Mode::Block;
    blockSize_ = size;
}

void FrameAssembler::expectFrames() { mode_ = Mode::Frames; }

void FrameAssembler::compact() {
    // Moving the unread tail to the front keeps the buffer from growing with the connection's
    // lifetime. Only when at least half the buffer is consumed, so that a large payload arriving
    // in many pieces is not moved again for each piece.
    if (readPos_ == 0 || readPos_ * 2 < buffer_.size()) return;
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(readPos_));
    readPos_ = 0;
}

void FrameAssembler::feed(std::span<const std::uint8_t> bytes) {
    // Spans handed out by the previous next() are dead from here on, so the buffer may move.
    block_ = {};
    payload_ = {};
    compact();
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

FrameAssembler::Status FrameAssembler::next() {
    block_ = {};
    payload_ = {};
    switch (mode_) {
        case Mode::Idle:
            return Status::NeedMore;
        case Mode::Block: {
            if (available() < blockSize_) return Status::NeedMore;
            block_ = std::span<const std::uint8_t>(buffer_).subspan(readPos_, blockSize_);
            readPos_ += blockSize_;
            // A block is a one-off: the owner must say what follows before anything more is cut.
            mode_ = Mode::Idle;
            return Status::Block;
        }
        case Mode::Frames: {
            if (!haveHeader_) {
                if (available() < kFrameHeaderSize) return Status::NeedMore;
                header_ = decodeFrameHeader(std::span<const std::uint8_t>(buffer_).subspan(readPos_, kFrameHeaderSize));
                haveHeader_ = true;
                readPos_ += kFrameHeaderSize;
                if (header_.DataSize > maxPayload_) return Status::TooLarge;
            }
            if (header_.DataSize > maxPayload_) return Status::TooLarge;
            if (available() < header_.DataSize) return Status::NeedMore;
            payload_ = std::span<const std::uint8_t>(buffer_).subspan(readPos_, header_.DataSize);
            readPos_ += header_.DataSize;
            haveHeader_ = false;
            return Status::Frame;
        }
    }
    return Status::NeedMore;
}

}  // namespace veltrin::server
