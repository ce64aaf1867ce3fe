#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "wire/Streams.h"
#include "server/core/Wire.h"

namespace veltrin::server {

// Cuts a connection's byte stream into the pieces the server acts on: fixed-size handshake
// blocks while the channel opens, then command frames (22-byte header + DataSize payload bytes).
// The owner says what comes next with expectBlock()/expectFrames() before calling next() again,
// because what follows a handshake block depends on what the block said.
//
// DataSize comes from the peer: a frame announcing more than maxPayload is reported as TooLarge
// and nothing is reserved for it; payload memory only grows with bytes that actually arrived.
class FrameAssembler {
public:
    enum class Status { NeedMore, Block, Frame, TooLarge };

    explicit FrameAssembler(std::size_t maxPayload) : maxPayload_(maxPayload) {}

    void expectBlock(std::size_t size);
    void expectFrames();
    bool expectingFrames() const { return mode_ == Mode::Frames; }

    void feed(std::span<const std::uint8_t> bytes);

    // Answers the next complete piece, or NeedMore. After Block, block() holds its bytes; after
    // Frame, header() and payload() hold the frame. Both stay valid until the next call.
    Status next();

    std::span<const std::uint8_t> block() const { return block_; }
    const TCommand& header() const { return header_; }
    std::span<const std::uint8_t> payload() const { return payload_; }

    // Bytes received but not yet handed out.
    std::size_t pending() const { return buffer_.size() - readPos_; }

private:
    enum class Mode { Block, Frames, Idle };
    std::size_t available() const { return buffer_.size() - readPos_; }
    void compact();

    std::size_t maxPayload_;
    Mode mode_ = Mode::Idle;
    std::size_t blockSize_ = 0;
    Bytes buffer_;
    std::size_t readPos_ = 0;
    std::span<const std::uint8_t> block_;
    TCommand header_{};
    bool haveHeader_ = false;
    std::span<const std::uint8_t> payload_;
};

}  // namespace veltrin::server
