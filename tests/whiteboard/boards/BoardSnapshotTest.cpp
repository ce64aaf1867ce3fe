#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "BoardTestSupport.h"
#include "whiteboard/ImageCodec.h"
#include "whiteboard/PaintObjectRenderer.h"
#include "whiteboard/boards/BoardFiles.h"
#include "whiteboard/boards/BoardSnapshot.h"

namespace veltrin::wb::test {
namespace {

Bytes snapshotBytes(const TBoardStreamHead& h, const std::vector<TPaintObject>& objects) {
    std::vector<TBoardStreamObject> entries;
    for (const TPaintObject& o : objects) entries.push_back(entryOf(o));
    Bytes out;
    BoardStream::writeSnapshotMD(out, h, entries);
    return out;
}

TEST(BoardSnapshotTest, RoundTripWithBackgroundAtEveryRotation) {
    const QImage picture = quarterImage(40, 20);
    const std::string title = "Tafel Größe – 板";
    for (int rotation = 0; rotation < 4; ++rotation) {
        SCOPED_TRACE(rotation);
        TBoardStreamHead h = head(3, title);
        h.HasBgImage = true;
        h.ImageType = 2 | (rotation << 8);
        h.Image = ImageCodec::encode(picture, ImageCodec::kPng);
        const Bytes bytes = snapshotBytes(h, {rectangle(7, 1, 10), stroke(9, 4)});

        BoardState board;
        PaintObjectList objects;
        MemoryInputStream in{std::span<const std::uint8_t>(bytes)};
        const BoardReadResult r = BoardSnapshot::readFromStream(in, true, board, objects);
        ASSERT_TRUE(r.complete());
        EXPECT_EQ(r.consumed, bytes.size());
        EXPECT_EQ(board.HeaderSize, static_cast<std::int32_t>(bytes.size()));
        EXPECT_EQ(board.Title, title);
        EXPECT_EQ(board.Index, 3);
        EXPECT_EQ(board.BoardId, "id-3");
        EXPECT_TRUE(board.BoardLoaded);
        EXPECT_EQ(board.ImageType, h.ImageType);
        const QImage expected = PaintObjectRenderer::rotateBackground(picture, rotation);
        EXPECT_EQ(board.BackgroundImage.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(board.OriginalW, rotation % 2 ? 20 : 40);
        EXPECT_EQ(board.OriginalH, rotation % 2 ? 40 : 20);
        EXPECT_EQ(board.FBackgroundColor, PaintColor::rgb(1, 128 / 255.0, 0));
        ASSERT_EQ(objects.size(), 2u);
        const auto list = objects.objects();
        EXPECT_EQ(list[0]->bodyBytes(true, 2), rectangle(7, 1, 10).bodyBytes(true, 2));
        EXPECT_EQ(list[1]->FHandPoints, stroke(9, 4).FHandPoints);
        EXPECT_EQ(list[1]->FBorardIndex, 3);
        EXPECT_GE(objects.currentLocalId(), 5);
    }
}

TEST(BoardSnapshotTest, NotLoadedSnapshotReadsNeitherImageNorObjects) {
    TBoardStreamHead h = head(4, "Übung");
    h.BoardLoaded = false;
    h.HasBgImage = true;
    h.ObjectCount = 3;
    Bytes bytes;
    BoardStream::writeHeadMD(bytes, h);
    const std::size_t headSize = bytes.size();
    bytes.resize(bytes.size() + 64, 0xee);  // whatever follows is not this board's

    BoardState board;
    PaintObjectList objects;
    MemoryInputStream in{std::span<const std::uint8_t>(bytes)};
    const BoardReadResult r = BoardSnapshot::readFromStream(in, true, board, objects);
    EXPECT_TRUE(r.complete());
    EXPECT_EQ(r.consumed, 13 + (4 + 4) + (4 + 6) + 18 + 4u);
    EXPECT_EQ(r.consumed, headSize);
    EXPECT_FALSE(board.BoardLoaded);
    EXPECT_TRUE(board.BackgroundImage.isNull());
    EXPECT_EQ(objects.size(), 0u);
    EXPECT_EQ(in.position(), headSize);
}

TEST(BoardSnapshotTest, DamagedSnapshotsReadAsFarAsSound) {
    const Bytes good = [] {
        TBoardStreamHead h = head(2, "ok");
        h.HasBgImage = true;
        h.ImageType = 2;
        h.Image = ImageCodec::encode(quarterImage(8, 8), ImageCodec::kPng);
        return snapshotBytes(h, {rectangle(1, 1, 0), rectangle(1, 2, 50)});
    }();
    const std::size_t titleAt = 13 + 4 + 4;  // index..flag, BoardId "id-2"
    struct Case {
        const char* name;
        Bytes bytes;
        BoardStreamStatus status;
        std::size_t objects;
        bool background;
    };
    auto patched = [&](std::size_t at, std::int32_t value) {
        Bytes b = good;
        b[at] = static_cast<std::uint8_t>(value);
        b[at + 1] = static_cast<std::uint8_t>(value >> 8);
        b[at + 2] = static_cast<std::uint8_t>(value >> 16);
        b[at + 3] = static_cast<std::uint8_t>(value >> 24);
        return b;
    };
    const std::size_t imageLengthAt = titleAt + 4 + 2 + 18 + 4;
    const std::size_t imageLength = good[imageLengthAt] | (good[imageLengthAt + 1] << 8);
    const std::size_t countAt = imageLengthAt + 4 + imageLength;
    Bytes garbageImage = good;
    std::fill_n(garbageImage.begin() + static_cast<std::ptrdiff_t>(imageLengthAt + 4), imageLength, 0x41);
    const Case cases[] = {
        {"intact", good, BoardStreamStatus::Complete, 2, true},
        {"title beyond payload", patched(titleAt, 1 << 19), BoardStreamStatus::Truncated, 0, true},
        {"title impossible", patched(titleAt, 1 << 30), BoardStreamStatus::Invalid, 0, true},
        {"image beyond payload", patched(imageLengthAt, 1 << 24), BoardStreamStatus::Truncated, 0, false},
        {"image impossible", patched(imageLengthAt, 0x7fffffff), BoardStreamStatus::Invalid, 0, false},
        {"more objects than sent", patched(countAt, 1000), BoardStreamStatus::Truncated, 2, true},
        {"undecodable image", garbageImage, BoardStreamStatus::Complete, 2, false},
        {"cut in the last body", Bytes(good.begin(), good.end() - 5), BoardStreamStatus::Truncated, 1, true},
        {"empty", Bytes(), BoardStreamStatus::Truncated, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoardState board;
        PaintObjectList objects;
        MemoryInputStream in{std::span<const std::uint8_t>(c.bytes)};
        const BoardReadResult r = BoardSnapshot::readFromStream(in, true, board, objects);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(objects.size(), c.objects);
        EXPECT_EQ(r.backgroundDecoded, c.background);
        EXPECT_LE(r.consumed, c.bytes.size());
        if (!c.background) {
            EXPECT_TRUE(board.BackgroundImage.isNull());
        }
    }
}

TEST(BoardSnapshotTest, BoardFileIsWrittenAndReadBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const BoardFiles files(dir.path());

    BoardState board;
    board.Index = 7;
    board.Title = "Skizze ✓";
    board.BoardId = "b7";
    board.BoardLoaded = true;
    board.FHasBgImage = true;
    board.ImageType = 1 | (1 << 8);
    board.setBackground(PaintObjectRenderer::rotateBackground(quarterImage(30, 10), 1));
    board.OriginalW = 10;
    board.OriginalH = 30;
    board.FBackgroundColor = PaintColor::rgb(0.2, 0.4, 0.6);
    PaintObjectList objects(7);
    TPaintObject picture = rectangle(5, 3, 40);
    picture.FTyp = kImage;
    picture.FObjectImage = quarterImage(16, 16);
    objects.append(std::make_shared<TPaintObject>(picture));
    objects.append(std::make_shared<TPaintObject>(stroke(5, 4)));

    ASSERT_TRUE(files.store(board, objects));
    EXPECT_EQ(files.pathFor(7), dir.filePath("wb-7.wbf"));
    ASSERT_TRUE(files.exists(7));

    BoardState back;
    PaintObjectList backObjects;
    const auto r = files.load(7, back, backObjects);
    ASSERT_TRUE(r && r->complete());
    EXPECT_EQ(back.Title, board.Title);
    EXPECT_EQ(back.BoardId, "b7");
    // The file holds the picture as shown: PNG, no further turn.
    EXPECT_EQ(back.ImageType, 2);
    EXPECT_EQ(back.BackgroundImage.convertToFormat(QImage::Format_RGB32),
              board.BackgroundImage.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(back.OriginalW, 10);
    EXPECT_EQ(back.OriginalH, 30);
    EXPECT_EQ(back.FBackgroundColor, PaintColor::rgb(51 / 255.0, 102 / 255.0, 153 / 255.0));
    ASSERT_EQ(backObjects.size(), 2u);
    EXPECT_EQ(backObjects.objects()[0]->bodyBytes(true, 2), objects.objects()[0]->bodyBytes(true, 2));
    EXPECT_EQ(backObjects.objects()[1]->bodyBytes(true, 2), objects.objects()[1]->bodyBytes(true, 2));

    // Board files keep the colour's alpha in its fourth byte; command payloads write 0 there.
    const Bytes bytes = BoardSnapshot::fileBytes(board, objects);
    const std::size_t colorAt = 13 + 4 + 2 + 4 + board.Title.size() + 12;
    EXPECT_EQ(bytes[colorAt], 51);
    EXPECT_EQ(bytes[colorAt + 3], 255);
}

TEST(BoardSnapshotTest, FilesAreListedByBoardIndex) {
    QTemporaryDir dir;
    const BoardFiles files(dir.path());
    for (int index : {10, 2, 1}) {
        BoardState board;
        board.Index = index;
        PaintObjectList objects;
        ASSERT_TRUE(files.store(board, objects));
    }
    QFile other(dir.filePath("notes.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    EXPECT_EQ(files.listFiles(), QStringList({files.pathFor(1), files.pathFor(2), files.pathFor(10)}));
}

}  // namespace
}  // namespace veltrin::wb::test
