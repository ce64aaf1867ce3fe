#include <gtest/gtest.h>

#include "WireTestSupport.h"
#include "wire/VCTools.h"

namespace veltrin {
namespace {

using test::concat;
using test::hexBytes;

const Bytes kFrame57 = hexBytes("39 00  05 00 00 00  2C 01  00 00 00 00 00 00 00 00  00 00 00 00  00 00");

TEST(TCommand, FrameBytes) {
    const TCommand frame(57, 5, 300);
    EXPECT_EQ(frame.DataSize, 0u);
    EXPECT_EQ(frame.TimeStamp, 0.0);
    EXPECT_EQ(frame.Result, 0);
    EXPECT_EQ(TCommand::getSize(), 22);

    Bytes md;
    VCTools::writeCommandMD(md, frame);
    EXPECT_EQ(md, kFrame57);
    MemoryOutputStream os;
    EXPECT_TRUE(VCTools::writeCommand(os, frame));
    EXPECT_EQ(os.data(), kFrame57);
}

TEST(TCommand, EveryFieldAtItsOffset) {
    TCommand frame(0xA1B2, 0xC3D4E5F6, 0x1234567, 0x0A0B0C0D);  // the room id keeps its low 16 bits
    frame.TimeStamp = 45000.75;
    frame.Result = 0x0102;
    const Bytes expected = hexBytes("B2 A1  F6 E5 D4 C3  67 45  00 00 00 00 18 F9 E5 40  0D 0C 0B 0A  02 01");
    Bytes md;
    VCTools::writeCommandMD(md, frame);
    EXPECT_EQ(md, expected);

    MemoryInputStream is(expected);
    const auto read = VCTools::readCommand(is);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, frame);
    EXPECT_EQ(TCommand::decode(std::span<const std::uint8_t>(expected)), frame);
    EXPECT_EQ(TCommand::decode(std::span<const std::uint8_t>(expected).first(21)), std::nullopt);
}

// A frame cut at every point: the fields that arrived whole are kept, the rest are 0, and both
// readers report the end.
TEST(TCommand, CutFrames) {
    TCommand full(0xA1B2, 0xC3D4E5F6, 0x4567, 7);
    full.TimeStamp = 2.5;
    full.Result = 9;
    Bytes bytes;
    VCTools::writeCommandMD(bytes, full);

    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        test::LogCapture log;
        TCommand expected;
        if (cut >= 2) expected.CommandID = full.CommandID;
        if (cut >= 6) expected.UserID = full.UserID;
        if (cut >= 8) expected.RoomIndex = full.RoomIndex;
        if (cut >= 16) expected.TimeStamp = full.TimeStamp;
        if (cut >= 20) expected.DataSize = full.DataSize;

        MemoryInputStream is(std::span<const std::uint8_t>(bytes).first(cut));
        TCommand reused(1, 1, 1, 1);
        EXPECT_FALSE(VCTools::readCommandNoCreate(is, reused));
        EXPECT_EQ(reused, expected);
        EXPECT_FALSE(log.lines().empty());

        MemoryInputStream again(std::span<const std::uint8_t>(bytes).first(cut));
        EXPECT_EQ(VCTools::readCommand(again), std::nullopt);
    }
}

// However the bytes arrive, the reader decodes the same frames: whole frames come from the buffer
// in one go, split ones field by field.
TEST(TCommand, SameFramesWhateverTheArrivalPattern) {
    std::vector<TCommand> frames;
    Bytes stream;
    for (int i = 0; i < 50; ++i) {
        TCommand c(i * 7, static_cast<std::uint32_t>(i * 1000003), i * 13, static_cast<std::uint32_t>(i % 3));
        c.TimeStamp = i * 0.25;
        c.Result = static_cast<std::uint16_t>(i);
        frames.push_back(c);
        VCTools::writeCommandMD(stream, c);
        stream.insert(stream.end(), c.DataSize, static_cast<std::uint8_t>(i));
    }
    for (const std::size_t chunk : {1u, 2u, 5u, 21u, 22u, 23u, 44u, 1000u}) {
        SCOPED_TRACE(chunk);
        test::ChunkedInputStream is(stream, chunk);
        TCommand c;
        for (const TCommand& expected : frames) {
            ASSERT_TRUE(VCTools::readCommandNoCreate(is, c));
            ASSERT_EQ(c, expected);
            Bytes payload;
            ASSERT_EQ(VCTools::readPayload(is, c.DataSize, payload, 16), ReadStatus::Complete);
            EXPECT_EQ(payload, Bytes(c.DataSize, static_cast<std::uint8_t>(c.Result)));
        }
        EXPECT_EQ(is.position(), stream.size());
        EXPECT_FALSE(VCTools::readCommandNoCreate(is, c));
    }
}

}  // namespace
}  // namespace veltrin
