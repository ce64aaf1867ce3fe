#include "server/core/Wire.h"

namespace veltrin::server {

Bytes encodeFrame(TCommand header, std::span<const std::uint8_t> payload) {
    header.DataSize = static_cast<std::uint32_t>(payload.size());
    Bytes out(kFrameHeaderSize + payload.size());
    header.encode(out.data());
    if (!payload.empty()) std::copy(payload.begin(), payload.end(), out.begin() + kFrameHeaderSize);
    return out;
}

}  // namespace veltrin::server
