#include <gtest/gtest.h>

#include <algorithm>

#include "tests/server/ServerTestSupport.h"
#include "wire/BoardStream.h"

namespace veltrin::server::test {
namespace {

constexpr std::int32_t kRoom = 1001;

Bytes ints(std::initializer_list<std::int32_t> values) {
    Bytes out;
    for (std::int32_t v : values) VCTools::writeIntMD(out, v);
    return out;
}

std::int32_t intAt(const Bytes& payload, std::size_t offset) {
    MemoryInputStream in{std::span<const std::uint8_t>(payload).subspan(offset)};
    return VCTools::readInt(in);
}

Bytes newBoardPayload(const std::string& title, std::int32_t width, std::int32_t height, const Bytes& image) {
    Bytes md = ints({0, 0, 0, width, height});
    for (std::uint8_t c : {255, 255, 255, 0}) VCTools::writeByteMD(md, c);
    VCTools::writeBooleanMD(md, true);
    VCTools::writeUTF16LEIntStringMD(md, title);
    VCTools::writeIntMD(md, 0);
    VCTools::writeBooleanMD(md, !image.empty());
    if (!image.empty()) {
        VCTools::writeIntMD(md, 1);
        VCTools::writeIntMD(md, static_cast<std::int32_t>(image.size()));
        md.insert(md.end(), image.begin(), image.end());
    }
    return md;
}

Bytes objectPayload(std::int32_t board, std::int32_t localIndex) {
    TPaintObjectHeader h;
    h.UserId = 101;
    h.BoardIndex = board;
    h.LocalIndex = localIndex;
    h.ObjectSize = 12;
    Bytes out;
    h.writeToMD(out);
    out.resize(out.size() + 12, 0x33);
    return out;
}

struct Snapshot {
    TBoardStreamHead head;
    std::vector<TBoardStreamObject> objects;
};

// Splits an answer to 79 by the snapshots' own sizes, which must add up to the payload exactly.
std::vector<Snapshot> splitSnapshots(const Bytes& payload) {
    MemoryInputStream in{std::span<const std::uint8_t>(payload)};
    std::size_t consumed = 0;
    std::vector<Snapshot> out;
    while (consumed < payload.size()) {
        Snapshot s;
        if (BoardStream::readHead(in, s.head, consumed) != BoardStreamStatus::Complete) break;
        for (std::int32_t i = 0; s.head.BoardLoaded && i < s.head.ObjectCount; ++i) {
            TBoardStreamObject o;
            if (BoardStream::readObject(in, o, consumed) != BoardStreamStatus::Complete) return out;
            s.objects.push_back(std::move(o));
        }
        out.push_back(std::move(s));
    }
    EXPECT_EQ(consumed, payload.size());
    return out;
}

class BoardSetServerTest : public ServerFixture {
protected:
    void SetUp() override {
        teacher_ = logOn("teacher", kRoom);
        student_ = logOn("student1", kRoom);
        receivedUntilAnswer(*teacher_);
        receivedUntilAnswer(*student_);
    }

    // Creates a board as the teacher; answers its index as both participants got it.
    std::int32_t create(const std::string& title, const Bytes& image = {}) {
        EXPECT_TRUE(teacher_->sendFrame(156, newBoardPayload(title, 800, 600, image)));
        const auto mine = teacher_->waitFor(156);
        const auto theirs = student_->waitFor(156);
        EXPECT_TRUE(mine && theirs);
        if (!mine || !theirs) return -1;
        EXPECT_EQ(mine->payload, theirs->payload);
        EXPECT_EQ(static_cast<std::int32_t>(theirs->header.UserID), teacher_->uid());
        return intAt(theirs->payload, 0);
    }

    std::unique_ptr<RawClient> teacher_;
    std::unique_ptr<RawClient> student_;
};

TEST_F(BoardSetServerTest, LateJoinerGetsEveryBoardWithHeadersAndTheActiveOne) {
    EXPECT_EQ(create("Größe"), 2);
    EXPECT_EQ(create("Slide", Bytes(64, 0xab)), 3);
    ASSERT_TRUE(teacher_->sendFrame(158, objectPayload(2, 1)));
    ASSERT_TRUE(teacher_->sendFrame(158, objectPayload(2, 2)));
    ASSERT_TRUE(teacher_->sendFrame(82, ints({2})));
    for (RawClient* c : {teacher_.get(), student_.get()}) {
        const auto active = c->waitFor(82);
        ASSERT_TRUE(active);
        EXPECT_EQ(intAt(active->payload, 0), 2);
    }

    auto late = logOn("student2", kRoom);
    ASSERT_TRUE(late->sendFrame(79, Bytes{1}));
    const auto boards = late->waitFor(79);
    ASSERT_TRUE(boards);
    const std::vector<Snapshot> snapshots = splitSnapshots(boards->payload);
    ASSERT_EQ(snapshots.size(), 3u);
    EXPECT_EQ(snapshots[0].head.Index, 1);
    EXPECT_EQ(snapshots[1].head.Title, "Größe");
    EXPECT_EQ(snapshots[1].head.OriginalW, 800);
    ASSERT_EQ(snapshots[1].objects.size(), 2u);
    EXPECT_EQ(snapshots[1].objects[1].Header.LocalIndex, 2);
    EXPECT_EQ(snapshots[1].objects[1].Header.BoardIndex, 2);
    EXPECT_EQ(snapshots[1].objects[1].Body, Bytes(12, 0x33));
    EXPECT_TRUE(snapshots[2].head.HasBgImage);
    EXPECT_EQ(snapshots[2].head.Image, Bytes(64, 0xab));

    ASSERT_TRUE(late->sendFrame(81));
    const auto active = late->waitFor(81);
    ASSERT_TRUE(active);
    EXPECT_EQ(intAt(active->payload, 0), 2);

    ASSERT_TRUE(late->sendFrame(159, ints({3})));
    const auto single = late->waitFor(159);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->header.Result, 0);
    EXPECT_EQ(splitSnapshots(single->payload).size(), 1u);
}

TEST_F(BoardSetServerTest, RotationClearAndRemoval) {
    const std::int32_t plain = create("Plain");
    const std::int32_t slide = create("Slide", Bytes(16, 1));

    // Only a board with a background turns, and everybody turns it together.
    ASSERT_TRUE(teacher_->sendFrame(165, ints({plain, 1 | (1 << 8)})));
    ASSERT_TRUE(teacher_->sendFrame(165, ints({slide, 1 | (3 << 8)})));
    const auto turned = student_->waitFor(165);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->payload, ints({slide, 1 | (3 << 8)}));
    ASSERT_TRUE(teacher_->waitFor(165));

    ASSERT_TRUE(teacher_->sendFrame(158, objectPayload(plain, 1)));
    ASSERT_TRUE(teacher_->sendFrame(80, ints({plain, 2})));
    const auto cleared = student_->waitFor(80);
    ASSERT_TRUE(cleared);
    EXPECT_EQ(cleared->payload, ints({plain, 2}));
    ASSERT_TRUE(student_->sendFrame(159, ints({plain})));
    const auto after = student_->waitFor(159);
    ASSERT_TRUE(after);
    EXPECT_EQ(splitSnapshots(after->payload).at(0).head.ObjectCount, 0);

    // A participant without whiteboard permission removes nothing; board 1 is never removed.
    ASSERT_TRUE(student_->sendFrame(157, ints({plain, 1})));
    ASSERT_TRUE(teacher_->sendFrame(157, ints({1, 1})));
    std::vector<Frame> seen = receivedUntilAnswer(*student_);
    EXPECT_TRUE(std::none_of(seen.begin(), seen.end(), [](const Frame& f) { return f.header.CommandID == 157; }));

    ASSERT_TRUE(teacher_->sendFrame(157, ints({plain, 42})));
    const auto removed = student_->waitFor(157);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->payload, ints({plain, 1}));  // an unknown switch-to board becomes board 1
    ASSERT_TRUE(student_->sendFrame(159, ints({plain})));
    const auto gone = student_->waitFor(159);
    ASSERT_TRUE(gone);
    EXPECT_NE(gone->header.Result, 0);

    ASSERT_TRUE(teacher_->sendFrame(157, ints({-1, 1})));
    ASSERT_TRUE(student_->waitFor(157));
    ASSERT_TRUE(student_->sendFrame(79, Bytes{1}));
    const auto all = student_->waitFor(79);
    ASSERT_TRUE(all);
    const auto left = splitSnapshots(all->payload);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].head.Index, 1);

    // New boards never reuse an index.
    EXPECT_EQ(create("Again"), slide + 1);
}

TEST_F(BoardSetServerTest, MalformedNewBoardsAndSlidesAreRefused) {
    Bytes cut = newBoardPayload("x", 800, 600, Bytes(32, 7));
    cut.resize(cut.size() - 10);
    ASSERT_TRUE(teacher_->sendFrame(156, cut));
    ASSERT_TRUE(teacher_->sendFrame(156, newBoardPayload("flat", 0, 600, {})));
    std::vector<Frame> seen = receivedUntilAnswer(*student_);
    EXPECT_TRUE(std::none_of(seen.begin(), seen.end(), [](const Frame& f) { return f.header.CommandID == 156; }));

    Bytes slide = ints({0, 5, 3});
    VCTools::writeStringIntSizeMD(slide, "pres_17\\Slide_3.jpg");
    VCTools::writeStringIntSizeMD(slide, "   Page 3 of Intro");
    ASSERT_TRUE(teacher_->sendFrame(160, slide));
    const auto answer = teacher_->waitFor(160);
    ASSERT_TRUE(answer);
    EXPECT_NE(answer->header.Result, 0);
}

}  // namespace
}  // namespace veltrin::server::test
