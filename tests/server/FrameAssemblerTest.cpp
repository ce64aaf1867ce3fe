#include <gtest/gtest.h>

#include "server/core/FrameAssembler.h"

namespace veltrin::server {
namespace {

using Status = FrameAssembler::Status;

Bytes frameBytes(std::uint16_t id, std::uint32_t uid, const Bytes& payload) {
    TCommand h(id, uid, 1001);
    return encodeFrame(h, payload);
}

struct Piece {
    bool block;
    Bytes bytes;              // the block, or the frame's payload
    std::uint16_t id = 0;     // frames only
};

// Feeds `stream` in chunks of `chunk` bytes: first a 3-byte and a 2-byte block, then frames.
std::vector<Piece> cut(const Bytes& stream, std::size_t chunk) {
    FrameAssembler a(1000);
    a.expectBlock(3);
    std::vector<Piece> out;
    int blocks = 0;
    for (std::size_t pos = 0; pos < stream.size(); pos += chunk) {
        const auto n = std::min(chunk, stream.size() - pos);
        a.feed(std::span<const std::uint8_t>(stream).subspan(pos, n));
        for (Status s; (s = a.next()) != Status::NeedMore;) {
            if (s == Status::Block) {
                out.push_back({true, Bytes(a.block().begin(), a.block().end())});
                if (++blocks == 1) a.expectBlock(2);
                else a.expectFrames();
            } else if (s == Status::Frame) {
                out.push_back({false, Bytes(a.payload().begin(), a.payload().end()), a.header().CommandID});
            } else {
                ADD_FAILURE() << "unexpected TooLarge";
                return out;
            }
        }
    }
    EXPECT_EQ(a.pending(), 0u);
    return out;
}

TEST(FrameAssemblerTest, CutsTheSamePiecesHoweverTheBytesArrive) {
    Bytes payload(300);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7);
    Bytes stream = {1, 2, 3, 4, 5};
    for (const Bytes& f : {frameBytes(57, 5, {}), frameBytes(130, 5, payload), frameBytes(2, 5, {9}),
                           frameBytes(1, 5, Bytes(1000, 0xAB))})
        stream.insert(stream.end(), f.begin(), f.end());

    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{21}, std::size_t{22}, std::size_t{23},
                              std::size_t{333}, stream.size()}) {
        SCOPED_TRACE(chunk);
        const auto pieces = cut(stream, chunk);
        ASSERT_EQ(pieces.size(), 6u);
        EXPECT_EQ(pieces[0].bytes, (Bytes{1, 2, 3}));
        EXPECT_EQ(pieces[1].bytes, (Bytes{4, 5}));
        EXPECT_EQ(pieces[2].id, 57);
        EXPECT_TRUE(pieces[2].bytes.empty());
        EXPECT_EQ(pieces[3].id, 130);
        EXPECT_EQ(pieces[3].bytes, payload);
        EXPECT_EQ(pieces[4].bytes, (Bytes{9}));
        EXPECT_EQ(pieces[5].bytes.size(), 1000u);  // exactly at the limit
    }
}

TEST(FrameAssemblerTest, RefusesAnnouncedSizesOverTheLimitBeforeTheirBytes) {
    for (std::uint32_t size : {1001u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        FrameAssembler a(1000);
        a.expectFrames();
        TCommand h(75, 1, 1);
        h.DataSize = size;
        Bytes header(kFrameHeaderSize);
        h.encode(header.data());
        a.feed(header);
        EXPECT_EQ(a.next(), Status::TooLarge) << size;
        EXPECT_EQ(a.header().DataSize, size);
        // Nothing of the announced size was taken on.
        EXPECT_EQ(a.pending(), 0u);
    }
}

TEST(FrameAssemblerTest, HoldsBytesWhileNothingIsExpected) {
    FrameAssembler a(1000);
    a.expectBlock(2);
    a.feed(Bytes{1, 2, 3, 4});
    ASSERT_EQ(a.next(), Status::Block);
    // The owner has not said what follows: the rest waits untouched.
    EXPECT_EQ(a.next(), Status::NeedMore);
    EXPECT_EQ(a.pending(), 2u);
    a.expectBlock(2);
    ASSERT_EQ(a.next(), Status::Block);
    EXPECT_EQ(Bytes(a.block().begin(), a.block().end()), (Bytes{3, 4}));
}

}  // namespace
}  // namespace veltrin::server
