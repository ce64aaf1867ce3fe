// The three string encodings of VCTools and the bounded reading of sized blocks.
#include <algorithm>
#include <array>
#include <climits>

#include "ByteOrder.h"
#include "Log.h"
#include "Utf.h"
#include "VCTools.h"

namespace veltrin {

namespace {

// Largest UTF-16 text whose byte count (2 per unit plus the terminator) still fits the int size.
constexpr std::size_t kMaxUtf16Units = (INT32_MAX - 2) / 2;

int fixedCapacity(int size) {
    return std::clamp(size, 0, VCTools::kMaxFixedStringSize);
}

// Encodes a fixed-size string field into `out` (room for 1 + 255 bytes); answers the field length.
std::size_t encodeFixed(std::string_view text, int size, std::uint8_t* out) {
    const auto capacity = static_cast<std::size_t>(fixedCapacity(size));
    // Cutting inside a character would make the whole field undecodable on the other side.
    const std::size_t length = utf::utf8PrefixLength(text, capacity);
    out[0] = static_cast<std::uint8_t>(length);
    if (length != 0) std::memcpy(out + 1, text.data(), length);
    std::memset(out + 1 + length, 0, capacity - length);
    return 1 + capacity;
}

std::string utf8OrEmpty(std::string text) {
    if (!utf::isValidUtf8(text)) return {};
    return text;
}

// Reads up to n bytes into `out`, never allocating more than kReadChunk (or what is already
// buffered) ahead of the bytes that have arrived: a size claimed by the peer costs nothing until
// the bytes exist.
template <class Container>
ReadStatus readInto(InputStream& is, std::uint64_t n, Container& out) {
    out.clear();
    std::size_t got = 0;
    while (got < n) {
        const std::size_t ahead = std::max(VCTools::kReadChunk, is.buffered());
        const auto step = static_cast<std::size_t>(std::min<std::uint64_t>(n - got, ahead));
        out.resize(got + step);
        const std::size_t k = is.readFully(out.data() + got, step);
        got += k;
        if (k < step) {
            out.resize(got);
            return ReadStatus::Truncated;
        }
    }
    return ReadStatus::Complete;
}

// Reads a string's int size; nothing when the text is empty or when the size is beyond maxBytes
// (the stream is then abandoned).
std::optional<std::size_t> readStringSize(InputStream& is, std::size_t maxBytes, const char* reader) {
    const std::int32_t n = VCTools::readInt(is);
    if (n < 1) return std::nullopt;
    if (static_cast<std::size_t>(n) > maxBytes) {
        logf("%s: size %d above the limit of %zu bytes", reader, n, maxBytes);
        is.markUnusable();
        return std::nullopt;
    }
    return static_cast<std::size_t>(n);
}

}  // namespace

// ---- fixed-size strings

bool VCTools::writeFixedString(OutputStream& os, std::string_view text, int size) {
    std::array<std::uint8_t, 1 + kMaxFixedStringSize> field;
    const std::size_t n = encodeFixed(text, size, field.data());
    return writeToStream(os, field.data(), n);
}

void VCTools::writeFixedStringMD(Bytes& md, std::string_view text, int size) {
    std::array<std::uint8_t, 1 + kMaxFixedStringSize> field;
    const std::size_t n = encodeFixed(text, size, field.data());
    md.insert(md.end(), field.data(), field.data() + n);
}

std::string VCTools::readFixedString(InputStream& is, int size) {
    const auto capacity = static_cast<std::size_t>(fixedCapacity(size));
    const std::size_t length = readByte(is);
    // A length above the field's size is the peer's error; taking it at its word would read into
    // the next fields, so the field keeps its size and the text its first `capacity` bytes.
    const std::size_t take = std::min(length, capacity);
    std::array<char, kMaxFixedStringSize> text;
    const std::size_t got = take == 0 ? 0 : is.readFully(text.data(), take);
    if (got == take && take < capacity) is.skip(capacity - take);
    return utf8OrEmpty(std::string(text.data(), got));
}

// ---- strings with an int size

void VCTools::writeStringIntSizeMD(Bytes& md, std::string_view text) {
    const std::size_t n = std::min<std::size_t>(text.size(), INT32_MAX);
    writeIntMD(md, static_cast<std::int32_t>(n));
    const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
    md.insert(md.end(), p, p + n);
}

void VCTools::writeUTF8IntStringMD(Bytes& md, std::string_view text) {
    writeStringIntSizeMD(md, text);
}

bool VCTools::writeStringIntSize(OutputStream& os, std::string_view text) {
    Bytes md;
    md.reserve(4 + text.size());
    writeStringIntSizeMD(md, text);
    return writeToStream(os, md.data(), md.size());
}

bool VCTools::writeUTF8IntString(OutputStream& os, std::string_view text) {
    return writeStringIntSize(os, text);
}

std::string VCTools::readStringIntSize(InputStream& is, std::size_t maxBytes) {
    const auto n = readStringSize(is, maxBytes, "readStringIntSize");
    if (!n) return {};
    std::string text;
    readInto(is, *n, text);
    return utf8OrEmpty(std::move(text));
}

// ---- UTF-16LE strings

void VCTools::writeUTF16LEIntStringMD(Bytes& md, std::string_view text, int /*correction*/) {
    const std::size_t sizeAt = md.size();
    writeIntMD(md, 0);
    const std::size_t units = utf::appendUtf16LE(text, md, kMaxUtf16Units).value_or(0);
    md.push_back(0);
    md.push_back(0);
    byteorder::storeLE32(md.data() + sizeAt, static_cast<std::uint32_t>(2 * units + 2));
}

bool VCTools::writeUTF16LEIntString(OutputStream& os, std::string_view text) {
    Bytes md;
    writeUTF16LEIntStringMD(md, text);
    return writeToStream(os, md.data(), md.size());
}

std::string VCTools::readUTF16LEIntString(InputStream& is, std::size_t maxBytes) {
    const auto n = readStringSize(is, maxBytes, "readUTF16LEIntString");
    if (!n) return {};
    Bytes raw;
    readInto(is, *n, raw);
    const std::size_t textBytes = std::min(raw.size(), *n >= 2 ? *n - 2 : 0);
    return utf::utf16LEToUtf8(std::span(raw.data(), textBytes)).value_or(std::string());
}

// ---- sized blocks

ReadStatus VCTools::readPayload(InputStream& is, std::uint64_t size, Bytes& out, std::size_t maxBytes) {
    if (size > maxBytes) {
        out.clear();
        is.markUnusable();
        return ReadStatus::TooLarge;
    }
    return readInto(is, size, out);
}

}  // namespace veltrin
