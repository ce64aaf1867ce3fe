#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include <QImage>

#include "wire/Streams.h"

namespace veltrin::wb {

// Image encoding and decoding for whiteboard payloads, bounded so that a hostile header cannot make
// the decoder allocate without limit.
class ImageCodec {
public:
    ImageCodec() = delete;

    // Encoded images above this many bytes are not accepted from the wire.
    static constexpr std::size_t kMaxEncodedBytes = 64u << 20;
    // Decoded images above this many pixels are refused before decoding (16384 x 16384 is 1 GiB).
    static constexpr std::int64_t kMaxPixels = 8192LL * 8192LL;
    // The decoder's own allocation ceiling, in megabytes.
    static constexpr int kAllocationLimitMb = 512;

    static constexpr std::int32_t kJpeg = 1;
    static constexpr std::int32_t kPng = 2;

    // PNG for type 2, JPEG for anything else. Empty when the image cannot be encoded.
    static Bytes encode(const QImage& image, std::int32_t dataType);
    // Decodes by content (the declared type is not trusted). Nothing for bytes that are no image,
    // or an image whose declared size is implausible.
    static std::optional<QImage> decode(std::span<const std::uint8_t> bytes);
};

}  // namespace veltrin::wb
