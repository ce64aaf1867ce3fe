#pragma once

#include <cstdint>
#include <span>

namespace veltrin {

struct TCommand;

// Receives every command frame the reader thread decodes, on the reader thread. The payload
// belongs to the caller and is valid only during the call.
class FrameHandler {
public:
    virtual ~FrameHandler() = default;
    virtual void HandleInput(const TCommand& command, std::span<const std::uint8_t> payload) = 0;
};

}  // namespace veltrin
