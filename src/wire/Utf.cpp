#include "Utf.h"

namespace veltrin::utf {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one code point starting at text[i] and advances i; kInvalid for a malformed sequence.
char32_t decodeUtf8(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    std::size_t len;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1Fu;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0Fu;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07u;
        min = 0x10000;
    } else {
        return kInvalid;
    }
    if (text.size() - i < len) return kInvalid;
    for (std::size_t k = 1; k < len; ++k) {
        const std::uint8_t b = byte(i + k);
        if ((b & 0xC0) != 0x80) return kInvalid;
        cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kInvalid;
    i += len;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void appendUnit(std::vector<std::uint8_t>& out, char32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
}

bool isAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<std::uint8_t>(c) >= 0x80) return false;
    return true;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    if (isAscii(text)) return true;
    for (std::size_t i = 0; i < text.size();)
        if (decodeUtf8(text, i) == kInvalid) return false;
    return true;
}

std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    std::size_t n = maxBytes;
    // text[n] is the first byte left out; while it continues a character, that character is cut.
    while (n > 0 && (static_cast<std::uint8_t>(text[n]) & 0xC0) == 0x80) --n;
    return n;
}

std::optional<std::size_t> utf16Length(std::string_view utf8) {
    if (isAscii(utf8)) return utf8.size();
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = decodeUtf8(utf8, i);
        if (cp == kInvalid) return std::nullopt;
        units += cp >= 0x10000 ? 2 : 1;
    }
    return units;
}

std::optional<std::size_t> appendUtf16LE(std::string_view utf8, std::vector<std::uint8_t>& out,
                                         std::size_t maxUnits) {
    const std::size_t start = out.size();
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = decodeUtf8(utf8, i);
        if (cp == kInvalid) {
            out.resize(start);
            return std::nullopt;
        }
        const std::size_t need = cp >= 0x10000 ? 2 : 1;
        if (maxUnits - units < need) break;
        if (need == 1) {
            appendUnit(out, cp);
        } else {
            const char32_t v = cp - 0x10000;
            appendUnit(out, 0xD800 + (v >> 10));
            appendUnit(out, 0xDC00 + (v & 0x3FF));
        }
        units += need;
    }
    return units;
}

std::optional<std::string> utf16LEToUtf8(std::span<const std::uint8_t> bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::string out;
    out.reserve(bytes.size() / 2);
    const std::size_t count = bytes.size() / 2;
    const auto unitAt = [&](std::size_t k) {
        return static_cast<char32_t>(bytes[2 * k] | (static_cast<unsigned>(bytes[2 * k + 1]) << 8));
    };
    for (std::size_t k = 0; k < count; ++k) {
        const char32_t u = unitAt(k);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (k + 1 == count) return std::nullopt;
            const char32_t low = unitAt(k + 1);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
            ++k;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return std::nullopt;
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

}  // namespace veltrin::utf
