#include <gtest/gtest.h>

#include "wire/Utf.h"

namespace veltrin::utf {
namespace {

TEST(Utf8, Validity) {
    struct Case {
        const char* name;
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"ASCII", "hello", true},
        {"empty", "", true},
        {"two-byte", "\xC3\xA9", true},
        {"three-byte", "\xE2\x82\xAC", true},
        {"four-byte", "\xF0\x9F\x98\x80", true},
        {"largest code point", "\xF4\x8F\xBF\xBF", true},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three-byte", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"lone continuation", "\x80", false},
        {"cut sequence", "a\xE2\x82", false},
        {"bad continuation", "\xC3\x28", false},
        {"invalid lead", "\xFF", false},
        {"embedded zero", std::string("a\0b", 3), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isValidUtf8(c.text), c.valid) << c.name;
        EXPECT_EQ(utf16Length(c.text).has_value(), c.valid) << c.name;
    }
}

TEST(Utf8, PrefixNeverEndsInsideACharacter) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a é € 😀: 1+2+3+4 bytes
    const std::pair<std::size_t, std::size_t> cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3},   {4, 3},
                                                         {5, 3}, {6, 6}, {9, 6}, {10, 10}, {99, 10}};
    for (const auto& [limit, expected] : cases) EXPECT_EQ(utf8PrefixLength(text, limit), expected) << limit;
}

TEST(Utf16, RoundTripsThroughUtf16LE) {
    for (const std::string& text :
         std::vector<std::string>{"", "ab",
                                  "Gr\xC3\xBC\xC3\x9F"
                                  "e",
                                  "\xE2\x82\xAC 5", "\xF0\x9F\x98\x80!", std::string("nul\0inside", 10)}) {
        std::vector<std::uint8_t> bytes{0xAA};
        const auto units = appendUtf16LE(text, bytes);
        ASSERT_TRUE(units);
        EXPECT_EQ(*units, utf16Length(text));
        EXPECT_EQ(bytes.size(), 1 + 2 * *units);
        EXPECT_EQ(utf16LEToUtf8(std::span(bytes).subspan(1)), text);
    }
}

TEST(Utf16, InvalidInputLeavesNothingBehind) {
    std::vector<std::uint8_t> bytes{0xAA};
    EXPECT_EQ(appendUtf16LE("ok\xFF", bytes), std::nullopt);
    EXPECT_EQ(bytes, std::vector<std::uint8_t>{0xAA});
}

TEST(Utf16, UnitLimitKeepsPairsWhole) {
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(appendUtf16LE("a\xF0\x9F\x98\x80", bytes, 2), 1u);
    EXPECT_EQ(bytes.size(), 2u);
}

}  // namespace
}  // namespace veltrin::utf
