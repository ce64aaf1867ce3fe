#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "wire/VCTools.h"

namespace veltrin::server {

using veltrin::Bytes;
using veltrin::TCommand;
using veltrin::VCTools;

inline constexpr std::size_t kFrameHeaderSize = TCommand::kSize;

inline TCommand decodeFrameHeader(std::span<const std::uint8_t> bytes) { return TCommand::decode(bytes.data()); }

// A whole frame: `header` with DataSize set to the payload's length, then the payload.
Bytes encodeFrame(TCommand header, std::span<const std::uint8_t> payload);

}  // namespace veltrin::server
