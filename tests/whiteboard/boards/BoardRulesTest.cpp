#include <gtest/gtest.h>

#include "whiteboard/TPaintObject.h"
#include "whiteboard/boards/BoardList.h"
#include "whiteboard/boards/BoardRules.h"

namespace veltrin::wb {
namespace {

TEST(BoardRulesTest, RotationIndexArithmetic) {
    struct Case {
        std::int32_t current, step, next;
    };
    const Case cases[] = {{0, -1, 3}, {1, -1, 0}, {2, -1, 1}, {3, -1, 2}, {0, -5, 3}, {0, 1, 1},
                          {2, 1, 3},  {3, 1, 0},  {1, 2, 3},  {2, 2, 0},  {0, 0, 0},  {1, 1000, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(BoardRules::nextRotationIndex(c.current, c.step), c.next) << c.current << " step " << c.step;
    }
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ((r + BoardRules::inverseRotationIndex(r)) % 4, 0) << r;
    }
    // The encoding in the low byte stays; the turn takes the second byte.
    EXPECT_EQ(BoardRules::imageTypeWithRotation(0x0302, 1), 0x0102);
    EXPECT_EQ(BoardRules::imageTypeWithRotation(1, 3), 0x0301);
}

TEST(BoardRulesTest, ScreenshotIsScaledToTwoThirdsOfTheBoardWidth) {
    const auto p = BoardRules::placeScreenshot(1024, QSize(2880, 1800));
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->size.width(), 675.84);
    EXPECT_DOUBLE_EQ(p->size.height(), 1800 * 675.84 / 2880);
    EXPECT_EQ(p->origin, QPoint(10, 10));
    EXPECT_FALSE(BoardRules::placeScreenshot(1024, QSize(0, 10)));
}

TEST(BoardRulesTest, ClipArtGoesBesideOrBelowTheSelection) {
    TPaintObject selected(1, 1, 1);
    selected.FX = 800;
    selected.FY = 40;
    selected.FX2 = 950;
    selected.FY2 = 300;
    EXPECT_EQ(BoardRules::clipArtPosition(1024, 100, nullptr), QPoint(10, 10));
    EXPECT_EQ(BoardRules::clipArtPosition(1024, 100, &selected), QPoint(10, 310));
    EXPECT_EQ(BoardRules::clipArtPosition(1024, 60, &selected), QPoint(955, 40));
    // Reaching the edge exactly counts as reaching it.
    EXPECT_EQ(BoardRules::clipArtPosition(1024, 69, &selected), QPoint(10, 310));
}

TEST(BoardRulesTest, PresetSizes) {
    EXPECT_EQ(BoardRules::presetSize(0), QSize(800, 600));
    EXPECT_EQ(BoardRules::presetSize(1), QSize(1024, 768));
    EXPECT_EQ(BoardRules::presetSize(2), QSize(1280, 1024));
    EXPECT_EQ(BoardRules::presetSize(3), QSize(1600, 1200));
    EXPECT_FALSE(BoardRules::presetSize(4));
}

TEST(BoardListTest, AddAndRemoveRules) {
    BoardList list;
    EXPECT_TRUE(list.add("Whiteboard", 1));
    EXPECT_TRUE(list.add("Größe", 4));
    EXPECT_FALSE(list.add("Another title", 4));
    EXPECT_TRUE(list.add("   Page 3 of Intro", 6));
    EXPECT_EQ(list.items()[1].title, "Größe (4)");
    EXPECT_EQ(list.tagByBoardTitle("   Page 3 of Intro"), 6);
    EXPECT_FALSE(list.tagByBoardTitle("   Page 4 of Intro"));

    list.remove(4);
    EXPECT_EQ(list.items().size(), 2u);
    list.remove(99);
    EXPECT_EQ(list.items().size(), 2u);
    list.add("x", 8);
    list.remove(-1);
    ASSERT_EQ(list.items().size(), 1u);
    EXPECT_EQ(list.items()[0].tag, 1);
    list.remove(-1);
    EXPECT_EQ(list.items().size(), 1u);
}

}  // namespace
}  // namespace veltrin::wb
