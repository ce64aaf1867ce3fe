#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "WireTestSupport.h"
#include "wire/VCTools.h"

namespace veltrin {
namespace {

using test::ascii;
using test::concat;
using test::hexBytes;
using test::LogCapture;
using test::zeros;

constexpr std::uint8_t kMarker = 0xEE;

// A writer in both of its forms; the stream form must produce exactly the MD form's bytes.
struct WriterCase {
    const char* name;
    std::function<void(Bytes&)> md;
    std::function<bool(OutputStream&)> stream;
    Bytes expected;
};

TEST(VCToolsNumbers, WritersProduceTheWireBytesInBothForms) {
    const WriterCase cases[] = {
        {"byte", [](Bytes& b) { VCTools::writeByteMD(b, 0xAB); },
         [](OutputStream& os) { return VCTools::writeByte(os, 0xAB); }, hexBytes("AB")},
        {"boolean true", [](Bytes& b) { VCTools::writeBooleanMD(b, true); },
         [](OutputStream& os) { return VCTools::writeBoolean(os, true); }, hexBytes("01")},
        {"boolean false", [](Bytes& b) { VCTools::writeBooleanMD(b, false); },
         [](OutputStream& os) { return VCTools::writeBoolean(os, false); }, hexBytes("00")},
        {"word", [](Bytes& b) { VCTools::writeWordMD(b, 0xABCD); },
         [](OutputStream& os) { return VCTools::writeWord(os, 0xABCD); }, hexBytes("CD AB")},
        {"int 250", [](Bytes& b) { VCTools::writeIntMD(b, 250); },
         [](OutputStream& os) { return VCTools::writeInt(os, 250); }, hexBytes("FA 00 00 00")},
        {"int -2", [](Bytes& b) { VCTools::writeIntMD(b, -2); },
         [](OutputStream& os) { return VCTools::writeInt(os, -2); }, hexBytes("FE FF FF FF")},
        {"big-endian int 250", [](Bytes& b) { VCTools::writeBEIntMD(b, 250); },
         [](OutputStream& os) { return VCTools::writeBEInt(os, 250); }, hexBytes("00 00 00 FA")},
        {"big-endian int -2", [](Bytes& b) { VCTools::writeBEIntMD(b, -2); },
         [](OutputStream& os) { return VCTools::writeBEInt(os, -2); }, hexBytes("FF FF FF FE")},
        {"long", [](Bytes& b) { VCTools::writeLongMD(b, 0x0102030405060708); },
         [](OutputStream& os) { return VCTools::writeLong(os, 0x0102030405060708); },
         hexBytes("08 07 06 05 04 03 02 01")},
        {"double 1.5", [](Bytes& b) { VCTools::writeDoubleMD(b, 1.5); },
         [](OutputStream& os) { return VCTools::writeDouble(os, 1.5); }, hexBytes("00 00 00 00 00 00 F8 3F")},
        {"day date 45000.75", [](Bytes& b) { VCTools::writeDayDateMD(b, 45000.75); },
         [](OutputStream& os) { return VCTools::writeDayDate(os, 45000.75); },
         hexBytes("00 00 00 00 18 F9 E5 40")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes md{kMarker};  // MD forms append: what was there stays
        c.md(md);
        EXPECT_EQ(md, concat({{kMarker}, c.expected}));
        MemoryOutputStream os;
        EXPECT_TRUE(c.stream(os));
        EXPECT_EQ(os.data(), c.expected);
    }
}

TEST(VCToolsNumbers, ReadersDecodeWhatTheWritersWrote) {
    Bytes md;
    VCTools::writeByteMD(md, 0xAB);
    VCTools::writeWordMD(md, 0xFFFE);
    VCTools::writeIntMD(md, std::numeric_limits<std::int32_t>::min());
    VCTools::writeBEIntMD(md, 253);
    VCTools::writeLongMD(md, -1234567890123456789);
    VCTools::writeDoubleMD(md, -0.1);
    VCTools::writeDayDateMD(md, 45000.75);
    md.push_back(kMarker);

    MemoryInputStream is(md);
    EXPECT_EQ(VCTools::readByte(is), 0xAB);
    EXPECT_EQ(VCTools::readWord(is), 0xFFFE);
    EXPECT_EQ(VCTools::readInt(is), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(VCTools::readBEInt(is), 253);
    EXPECT_EQ(VCTools::readLong(is), -1234567890123456789);
    EXPECT_EQ(VCTools::readDouble(is), -0.1);
    EXPECT_EQ(VCTools::readDayDate(is), 45000.75);
    EXPECT_EQ(VCTools::readByte(is), kMarker);
    EXPECT_TRUE(VCTools::checkIS(is));
}

TEST(VCToolsNumbers, BooleanIsTrueOnlyForTheByteOne) {
    const std::pair<std::uint8_t, bool> cases[] = {{0, false}, {1, true}, {2, false}, {0xFF, false}};
    for (const auto& [byte, expected] : cases) {
        MemoryInputStream is(Bytes{byte});
        EXPECT_EQ(VCTools::readBoolean(is), expected) << int(byte);
    }
}

TEST(VCToolsNumbers, ReadByteAtTheEndAnswersZeroWithoutLogging) {
    LogCapture log;
    MemoryInputStream is(Bytes{});
    EXPECT_EQ(VCTools::readByte(is), 0);
    EXPECT_FALSE(VCTools::checkIS(is));
    EXPECT_TRUE(log.lines().empty());
}

// A number cut short answers 0 and logs the stream's status (5: at end), whatever part of it came.
TEST(VCToolsNumbers, PartialNumbersAnswerZeroAndLogTheStatus) {
    struct Case {
        const char* name;
        std::size_t width;
        std::function<std::int64_t(InputStream&)> read;
        const char* logText;
    };
    const Case cases[] = {
        {"word", 2, [](InputStream& is) { return std::int64_t{VCTools::readWord(is)}; },
         "readWord Stream Status is: 5"},
        {"int", 4, [](InputStream& is) { return std::int64_t{VCTools::readInt(is)}; },
         "readInt Stream Status is: 5"},
        {"long", 8, [](InputStream& is) { return VCTools::readLong(is); }, "readLong Stream Status is: 5"},
        {"double", 8, [](InputStream& is) { return std::int64_t(VCTools::readDouble(is)); },
         "readLong Stream Status is: 5"},
    };
    for (const auto& c : cases) {
        for (std::size_t have = 0; have < c.width; ++have) {
            SCOPED_TRACE(std::string(c.name) + " with " + std::to_string(have) + " bytes");
            LogCapture log;
            MemoryInputStream is(Bytes(have, 0x7F));
            EXPECT_EQ(c.read(is), 0);
            EXPECT_FALSE(VCTools::checkIS(is));
            EXPECT_EQ(log.lines(), std::vector<std::string>{c.logText});
        }
    }
}

TEST(VCToolsNumbers, WritesToAFailedStreamAreLost) {
    test::FailingOutputStream os(3);
    EXPECT_FALSE(VCTools::writeInt(os, 250));
    EXPECT_FALSE(VCTools::checkOS(os));
    EXPECT_EQ(os.errorCode(), EPIPE);
    EXPECT_FALSE(VCTools::writeByte(os, 1));
    EXPECT_EQ(os.data(), hexBytes("FA 00 00"));
}

// ---- fixed-size strings

TEST(VCToolsFixedString, WritesLengthTextAndZeroFill) {
    const std::string sixty(60, 'x');
    const std::string umlauts =
        "Gr\xC3\xBC\xC3\x9F"
        "e";                                                      // "Grüße", 7 UTF-8 bytes
    const std::string twoByteChars = "\xC3\xA9\xC3\xA9\xC3\xA9";  // "ééé", 6 bytes
    struct Case {
        const char* name;
        std::string text;
        int size;
        Bytes expected;
    };
    const Case cases[] = {
        {"abc in 10", "abc", 10, concat({hexBytes("03 61 62 63"), zeros(7)})},
        {"empty in 10", "", 10, zeros(11)},
        {"exactly full", "abcde", 5, hexBytes("05 61 62 63 64 65")},
        {"60 characters in 50", sixty, 50, concat({{50}, Bytes(50, 'x')})},
        {"non-ASCII as UTF-8 bytes", umlauts, 10, concat({{7}, ascii(umlauts), zeros(3)})},
        // Cut before the character that does not fit whole, never inside it.
        {"cut at a character boundary", twoByteChars, 5,
         concat({{4}, ascii(twoByteChars.substr(0, 4)), zeros(1)})},
        {"size 0", "abc", 0, zeros(1)},
        {"negative size", "abc", -4, zeros(1)},
        {"size capped at 255", std::string(300, 'y'), 400, concat({{255}, Bytes(255, 'y')})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes md;
        VCTools::writeFixedStringMD(md, c.text, c.size);
        EXPECT_EQ(md, c.expected);
        MemoryOutputStream os;
        EXPECT_TRUE(VCTools::writeFixedString(os, c.text, c.size));
        EXPECT_EQ(os.data(), c.expected);
    }
}

// Each field is read back and must consume exactly its 1 + S bytes: the marker after it stays.
TEST(VCToolsFixedString, ReadsBackAndConsumesExactlyTheField) {
    const std::string umlauts =
        "Gr\xC3\xBC\xC3\x9F"
        "e";
    struct Case {
        std::string text;
        int size;
        std::string expected;
    };
    const Case cases[] = {
        {"abc", 10, "abc"},
        {"", 10, ""},
        {std::string(60, 'x'), 50, std::string(50, 'x')},
        {umlauts, 10, umlauts},
        {"abcde", 5, "abcde"},
        {"\xC3\xA9\xC3\xA9\xC3\xA9", 5, "\xC3\xA9\xC3\xA9"},
        {std::string(255, 'z'), 255, std::string(255, 'z')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Bytes md;
        VCTools::writeFixedStringMD(md, c.text, c.size);
        md.push_back(kMarker);
        MemoryInputStream is(md);
        EXPECT_EQ(VCTools::readFixedString(is, c.size), c.expected);
        EXPECT_EQ(is.position(), 1u + static_cast<std::size_t>(c.size));
        EXPECT_EQ(VCTools::readByte(is), kMarker);
    }
}

TEST(VCToolsFixedString, BadFieldsStillConsumeTheirSize) {
    struct Case {
        const char* name;
        Bytes field;  // a size 4 field
        std::string expected;
    };
    const Case cases[] = {
        // A length byte above the field's size would read into the next field.
        {"length above size", hexBytes("09 61 62 63 64"), "abcd"},
        {"invalid UTF-8", hexBytes("02 C3 28 00 00"), ""},
        {"overlong UTF-8", hexBytes("02 C0 AF 00 00"), ""},
        {"UTF-8 surrogate", hexBytes("03 ED A0 80 00"), ""},
        {"text cut inside a character", hexBytes("01 C3 00 00 00"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryInputStream is(concat({c.field, {kMarker}}));
        EXPECT_EQ(VCTools::readFixedString(is, 4), c.expected);
        EXPECT_EQ(VCTools::readByte(is), kMarker);
    }
}

TEST(VCToolsFixedString, TruncatedFieldAnswersWhatArrived) {
    struct Case {
        Bytes bytes;
        std::string expected;
    };
    const Case cases[] = {
        {{}, ""},
        {hexBytes("05"), ""},
        {hexBytes("05 61 62"), "ab"},
        {hexBytes("02 61 62 00"), "ab"},  // text complete, zero fill cut short
    };
    for (const auto& c : cases) {
        MemoryInputStream is(c.bytes);
        EXPECT_EQ(VCTools::readFixedString(is, 10), c.expected);
        EXPECT_FALSE(VCTools::checkIS(is));
    }
}

// ---- strings with an int size

TEST(VCToolsIntString, BothNamesWriteTheSameBytes) {
    const std::string text = "h\xC3\xA9llo";  // "héllo", 6 bytes
    const Bytes expected = concat({hexBytes("06 00 00 00"), ascii(text)});
    Bytes a;
    Bytes b;
    VCTools::writeStringIntSizeMD(a, text);
    VCTools::writeUTF8IntStringMD(b, text);
    EXPECT_EQ(a, expected);
    EXPECT_EQ(b, expected);
    MemoryOutputStream s1;
    MemoryOutputStream s2;
    VCTools::writeStringIntSize(s1, text);
    VCTools::writeUTF8IntString(s2, text);
    EXPECT_EQ(s1.data(), expected);
    EXPECT_EQ(s2.data(), expected);

    MemoryInputStream is(concat({expected, {kMarker}}));
    EXPECT_EQ(VCTools::readStringIntSize(is), text);
    EXPECT_EQ(VCTools::readByte(is), kMarker);
}

TEST(VCToolsIntString, EmptyOrNegativeSizeReadsNothingMore) {
    for (const std::int32_t n : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        Bytes md;
        VCTools::writeIntMD(md, n);
        md.push_back(kMarker);
        MemoryInputStream is(md);
        EXPECT_EQ(VCTools::readStringIntSize(is), "") << n;
        EXPECT_EQ(VCTools::readByte(is), kMarker) << n;
    }
}

TEST(VCToolsIntString, SizesAroundTheLimit) {
    constexpr std::size_t kLimit = 8;
    for (const std::size_t n : {kLimit - 1, kLimit, kLimit + 1}) {
        SCOPED_TRACE(n);
        Bytes md;
        VCTools::writeStringIntSizeMD(md, std::string(n, 'a'));
        md.push_back(kMarker);
        MemoryInputStream is(md);
        const std::string text = VCTools::readStringIntSize(is, kLimit);
        if (n <= kLimit) {
            EXPECT_EQ(text, std::string(n, 'a'));
            EXPECT_EQ(VCTools::readByte(is), kMarker);
        } else {
            // The stream cannot be framed any more: it is given up, and reads answer nothing.
            EXPECT_EQ(text, "");
            EXPECT_FALSE(VCTools::checkIS(is));
            EXPECT_EQ(is.status(), StreamStatus::Error);
            EXPECT_EQ(VCTools::readByte(is), 0);
        }
    }
}

// A peer claiming two gigabytes gets nothing allocated for them: the default limit turns the claim
// away, and a claim under the limit grows only with the bytes that actually arrive.
TEST(VCToolsIntString, HugeClaimsAllocateNothingAhead) {
    {
        MemoryInputStream is(concat({hexBytes("00 00 00 80"), ascii("abc")}));  // INT32_MIN: negative
        EXPECT_EQ(VCTools::readStringIntSize(is), "");
        EXPECT_TRUE(VCTools::checkIS(is));
    }
    for (const Bytes& size : {hexBytes("FF FF FF 7F"), hexBytes("00 00 00 7F"), hexBytes("01 00 00 04")}) {
        LogCapture log;
        MemoryInputStream is(concat({size, ascii("abc")}));
        EXPECT_EQ(VCTools::readStringIntSize(is), "");
        EXPECT_FALSE(VCTools::checkIS(is));
        EXPECT_EQ(VCTools::readByte(is), 0);
        EXPECT_TRUE(log.contains("readStringIntSize"));
    }
    {
        // 2 GB allowed by the caller but only 3 bytes there: answers what arrived.
        MemoryInputStream is(concat({hexBytes("FF FF FF 7F"), ascii("abc")}));
        EXPECT_EQ(VCTools::readStringIntSize(is, std::numeric_limits<std::size_t>::max()), "abc");
        EXPECT_FALSE(VCTools::checkIS(is));
    }
}

TEST(VCToolsIntString, LongTextsCrossTheReadChunks) {
    for (const std::size_t n : {VCTools::kReadChunk - 1, VCTools::kReadChunk, 3 * VCTools::kReadChunk + 7}) {
        std::string text(n, 'q');
        text.back() = 'z';
        Bytes md;
        VCTools::writeStringIntSizeMD(md, text);
        test::ChunkedInputStream is(md, 1000);
        EXPECT_EQ(VCTools::readStringIntSize(is), text);
        EXPECT_TRUE(VCTools::checkIS(is));
    }
}

TEST(VCToolsIntString, InvalidUtf8AnswersEmptyButIsConsumed) {
    MemoryInputStream is(concat({hexBytes("02 00 00 00 FF FE"), {kMarker}}));
    EXPECT_EQ(VCTools::readStringIntSize(is), "");
    EXPECT_EQ(VCTools::readByte(is), kMarker);
}

// ---- UTF-16LE strings

TEST(VCToolsUtf16String, WritesSizeTextAndTerminator) {
    struct Case {
        std::string text;
        Bytes expected;
    };
    const Case cases[] = {
        {"ab", hexBytes("06 00 00 00 61 00 62 00 00 00")},
        {"", hexBytes("02 00 00 00 00 00")},
        {"\xC3\xA9", hexBytes("04 00 00 00 E9 00 00 00")},                // é
        {"\xF0\x9F\x98\x80", hexBytes("06 00 00 00 3D D8 00 DE 00 00")},  // U+1F600, a surrogate pair
        {"\xFF", hexBytes("02 00 00 00 00 00")},                          // not UTF-8: written empty
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (const int correction : {0, 1, -7}) {
            Bytes md;
            VCTools::writeUTF16LEIntStringMD(md, c.text, correction);
            EXPECT_EQ(md, c.expected);
        }
        MemoryOutputStream os;
        EXPECT_TRUE(VCTools::writeUTF16LEIntString(os, c.text));
        EXPECT_EQ(os.data(), c.expected);
    }
}

TEST(VCToolsUtf16String, Reads) {
    struct Case {
        const char* name;
        Bytes bytes;
        std::string expected;
        std::size_t consumed;
    };
    const Case cases[] = {
        {"ab", hexBytes("06 00 00 00 61 00 62 00 00 00"), "ab", 10},
        {"surrogate pair", hexBytes("06 00 00 00 3D D8 00 DE 00 00"), "\xF0\x9F\x98\x80", 10},
        {"empty text", hexBytes("02 00 00 00 00 00"), "", 6},
        {"size 0", hexBytes("00 00 00 00"), "", 4},
        {"negative size", hexBytes("FE FF FF FF"), "", 4},
        {"size 1", hexBytes("01 00 00 00 00"), "", 5},
        {"odd text bytes", hexBytes("05 00 00 00 61 00 62 00 00"), "", 9},
        {"lone high surrogate", hexBytes("04 00 00 00 3D D8 00 00"), "", 8},
        {"lone low surrogate", hexBytes("04 00 00 00 00 DE 00 00"), "", 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryInputStream is(concat({c.bytes, {kMarker}}));
        EXPECT_EQ(VCTools::readUTF16LEIntString(is), c.expected);
        EXPECT_EQ(is.position(), c.consumed);
        EXPECT_EQ(VCTools::readByte(is), kMarker);
    }
}

TEST(VCToolsUtf16String, HugeClaimIsRefused) {
    MemoryInputStream is(concat({hexBytes("FE FF FF 7F"), hexBytes("61 00")}));
    EXPECT_EQ(VCTools::readUTF16LEIntString(is), "");
    EXPECT_FALSE(VCTools::checkIS(is));
    EXPECT_EQ(VCTools::readByte(is), 0);
}

TEST(VCToolsPayload, ReadsSizedBlocksWithinTheirLimit) {
    const Bytes data = hexBytes("01 02 03 04 05");
    struct Case {
        std::uint64_t size;
        std::size_t limit;
        ReadStatus status;
        Bytes out;
    };
    const Case cases[] = {
        {0, 4, ReadStatus::Complete, {}},
        {4, 4, ReadStatus::Complete, hexBytes("01 02 03 04")},
        {5, 4, ReadStatus::TooLarge, {}},
        {1ull << 40, std::numeric_limits<std::size_t>::max(), ReadStatus::Truncated, data},
    };
    for (const auto& c : cases) {
        MemoryInputStream is(data);
        Bytes out{9, 9};
        EXPECT_EQ(VCTools::readPayload(is, c.size, out, c.limit), c.status) << c.size;
        EXPECT_EQ(out, c.out) << c.size;
    }
}

}  // namespace
}  // namespace veltrin
