#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Conversions between the UTF-8 held in std::string and the encodings on the wire. Decoding is
// strict: overlong forms, surrogates written as UTF-8, code points above U+10FFFF and unpaired
// UTF-16 surrogates make the whole text invalid (the wire readers then answer the empty string).
namespace veltrin::utf {

bool isValidUtf8(std::string_view text);

// The longest prefix of at most maxBytes bytes that does not end inside a multi-byte character.
std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes);

// Number of UTF-16 code units of valid UTF-8 text; nothing for invalid text.
std::optional<std::size_t> utf16Length(std::string_view utf8);

// Appends the text as UTF-16LE (no terminator), at most maxUnits code units and never half of a
// surrogate pair. Answers the number of code units appended, nothing (and no bytes) for invalid text.
std::optional<std::size_t> appendUtf16LE(std::string_view utf8, std::vector<std::uint8_t>& out,
                                         std::size_t maxUnits = SIZE_MAX);

// Decodes UTF-16LE bytes; nothing for an odd byte count or an unpaired surrogate.
std::optional<std::string> utf16LEToUtf8(std::span<const std::uint8_t> bytes);

}  // namespace veltrin::utf
