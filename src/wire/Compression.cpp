// zlib, wrapped: one zlib stream per call, worked in fixed steps.
#include <zlib.h>

#include <algorithm>
#include <climits>

#include "VCTools.h"

namespace veltrin {

namespace {

// zlib counts in uInt; larger inputs are fed in pieces no bigger than this.
constexpr std::size_t kMaxZlibPiece = UINT_MAX;

Bytef* bytef(const void* p) {
    return static_cast<Bytef*>(const_cast<void*>(p));
}

}  // namespace

std::size_t VCTools::compressData(const void* data, std::size_t size, int level, Bytes& out) {
    out.clear();
    z_stream zs{};
    if (deflateInit(&zs, level) != Z_OK) return 0;

    const auto* in = static_cast<const std::uint8_t*>(data);
    std::size_t inLeft = size;
    std::size_t produced = 0;
    out.resize(kCompressionStep);
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (zs.avail_in == 0 && inLeft != 0) {
            const std::size_t piece = std::min(inLeft, kMaxZlibPiece);
            zs.next_in = bytef(in);
            zs.avail_in = static_cast<uInt>(piece);
            in += piece;
            inLeft -= piece;
        }
        if (produced == out.size()) out.resize(out.size() + kCompressionStep);
        zs.next_out = out.data() + produced;
        zs.avail_out = static_cast<uInt>(std::min(out.size() - produced, kMaxZlibPiece));
        const uInt before = zs.avail_out;
        rc = deflate(&zs, inLeft == 0 ? Z_FINISH : Z_NO_FLUSH);
        produced += before - zs.avail_out;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            deflateEnd(&zs);
            out.clear();
            return 0;
        }
    }
    deflateEnd(&zs);
    out.resize(produced);
    out.shrink_to_fit();
    return produced;
}

std::optional<Bytes> VCTools::decompressBytes(const void* data, std::size_t len, std::size_t maxOutput) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return std::nullopt;

    const auto* in = static_cast<const std::uint8_t*>(data);
    std::size_t inLeft = len;
    Bytes out;
    std::size_t produced = 0;
    bool ok = false;
    for (;;) {
        if (zs.avail_in == 0 && inLeft != 0) {
            const std::size_t piece = std::min(inLeft, kCompressionStep);
            zs.next_in = bytef(in);
            zs.avail_in = static_cast<uInt>(piece);
            in += piece;
            inLeft -= piece;
        }
        // At the limit, one spare byte tells a stream that ends exactly there from one that would
        // go on (a bomb, or simply too big).
        std::uint8_t probe = 0;
        const bool atLimit = produced == out.size() && out.size() >= maxOutput;
        if (atLimit) {
            zs.next_out = &probe;
            zs.avail_out = 1;
        } else {
            if (produced == out.size()) out.resize(std::min(out.size() + kCompressionStep, maxOutput));
            zs.next_out = out.data() + produced;
            zs.avail_out = static_cast<uInt>(out.size() - produced);
        }
        const uInt before = zs.avail_out;
        const int rc = inflate(&zs, Z_NO_FLUSH);
        if (atLimit) {
            if (zs.avail_out == 0) break;
        } else {
            produced += before - zs.avail_out;
        }
        if (rc == Z_STREAM_END) {
            ok = true;
            break;
        }
        if (rc == Z_BUF_ERROR) {
            // No progress was possible: either the input is used up before the stream's end, or
            // there is nothing more to feed and nothing to make room for.
            if (zs.avail_in == 0 && inLeft == 0) break;
            if (zs.avail_in != 0 && zs.avail_out != 0) break;
            continue;
        }
        if (rc != Z_OK) break;  // data, memory or dictionary trouble
    }
    inflateEnd(&zs);
    if (!ok) return std::nullopt;
    out.resize(produced);
    return out;
}

}  // namespace veltrin
