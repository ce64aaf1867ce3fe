// The canvas's rules that need no window: handles, resizing, tool bar settings and cursors.

#include <gtest/gtest.h>

#include "whiteboard/CanvasCursors.h"
#include "whiteboard/CanvasHitTest.h"
#include "whiteboard/CanvasResize.h"
#include "whiteboard/WhiteboardToolRules.h"

namespace veltrin::wb {
namespace {

TPaintObject rect(int x, int y, int x2, int y2, int kind = kRectangle) {
    TPaintObject o(7, 1, 1);
    o.FTyp = kind;
    o.FX = x;
    o.FY = y;
    o.FX2 = x2;
    o.FY2 = y2;
    return o;
}

TEST(CanvasHandles, EachSquareAnswersItsCodeAndTheHigherCodeWins) {
    const TPaintObject o = rect(100, 100, 200, 160);
    struct Case {
        double x, y;
        int handle;
    };
    const Case cases[] = {
        {95, 95, kTopLeft},      {150, 95, kTopMiddle},    {205, 95, kTopRight},    {205, 130, kRightMiddle},
        {205, 165, kBottomRight}, {150, 165, kBottomMiddle}, {95, 165, kBottomLeft}, {95, 130, kLeftMiddle},
        {150, 130, kNoHandle},   {210, 130, kNoHandle},     // max edge is outside the square
        {90, 90, kTopLeft},                                 // min edge is inside
    };
    for (const Case& c : cases) EXPECT_EQ(handleAt(o, c.x, c.y), c.handle) << c.x << "," << c.y;

    // A small object: the point lies in both the top-left and the left-middle square.
    const TPaintObject small = rect(100, 100, 104, 104);
    EXPECT_TRUE(handleSquare(small, kTopLeft).contains(QPointF(95, 98)));
    EXPECT_EQ(handleAt(small, 95, 98), kLeftMiddle);
    // Drawn upside down: the squares follow the normalised rectangle.
    EXPECT_EQ(handleAt(rect(200, 160, 100, 100), 95, 95), kTopLeft);
}

TEST(CanvasResize, EveryHandleMovesItsEdgesAndNeverPassesTheOpposite) {
    struct Case {
        int handle;
        double x, y;
        int fx, fy, fx2, fy2;
    };
    const Case cases[] = {
        {kTopLeft, 90.7, 80.2, 90, 80, 200, 160},      {kTopLeft, 300, 300, 200, 160, 200, 160},
        {kTopMiddle, 0, 120.9, 100, 120, 200, 160},     {kTopRight, 250.5, 90, 100, 90, 250, 160},
        {kRightMiddle, 50, 0, 100, 100, 100, 160},      {kBottomRight, 10, 10, 100, 100, 100, 100},
        {kBottomMiddle, 0, 170, 100, 100, 200, 170},    {kBottomLeft, 20, 180, 20, 100, 200, 180},
        {kLeftMiddle, 250, 0, 200, 100, 200, 160},      {kMoveObject, 1, 1, 100, 100, 200, 160},
    };
    for (const Case& c : cases) {
        TPaintObject o = rect(100, 100, 200, 160);
        resizeByHandle(o, c.handle, c.x, c.y);
        EXPECT_EQ((std::array{o.FX, o.FY, o.FX2, o.FY2}), (std::array{c.fx, c.fy, c.fx2, c.fy2})) << "handle " << c.handle;
    }
}

TEST(CanvasResize, ShiftMovesCornersAndStrokePoints) {
    TPaintObject o = rect(10, 20, 30, 40, kPencil);
    o.FHandPoints = {{10.5, 20}, {30, 40}};
    shiftObject(o, 10, -5);
    EXPECT_EQ((std::array{o.FX, o.FY, o.FX2, o.FY2}), (std::array{20, 15, 40, 35}));
    EXPECT_EQ(o.FHandPoints[0], (HandPoint{20.5, 15}));
}

TEST(ToolBarRules, TagsDecideWhatTheToolBarShows) {
    struct Case {
        int tag;
        bool pointer;
        bool line, width, fill;
        const char* widthLabel;
        WidthSource source;
        const char* fillTitle;
    };
    const Case cases[] = {
        {kLine, false, true, true, false, "Width", WidthSource::PenWidth, ""},
        {kCone, false, true, true, false, "Width", WidthSource::PenWidth, ""},
        {kFilledOval, false, true, true, true, "Width", WidthSource::PenWidth, "Fill"},
        {kText, false, true, true, false, "Text Size", WidthSource::TextSize, ""},
        {kHighlighter, false, false, true, true, "Width", WidthSource::HighlighterWidth, "Color"},
        {kGrid, false, false, false, false, "", WidthSource::None, ""},
        {kImage, false, false, false, false, "", WidthSource::None, ""},
        {kLine, true, false, false, false, "", WidthSource::None, ""},
    };
    for (const Case& c : cases) {
        const ToolBarSettings s = toolBarSettingsFor(c.tag, c.pointer);
        EXPECT_EQ(s.lineColorVisible, c.line) << c.tag;
        EXPECT_EQ(s.widthVisible, c.width) << c.tag;
        EXPECT_EQ(s.fillColorVisible, c.fill) << c.tag;
        EXPECT_EQ(s.widthLabel, QString::fromLatin1(c.widthLabel)) << c.tag;
        EXPECT_EQ(s.widthSource, c.source) << c.tag;
        EXPECT_EQ(s.fillColorTitle, QString::fromLatin1(c.fillTitle)) << c.tag;
        EXPECT_EQ(s.takeColorsAndSizes, c.source != WidthSource::None) << c.tag;
    }
    EXPECT_EQ(widthTargetFor(kHighlighter), WidthSource::HighlighterWidth);
    EXPECT_EQ(widthTargetFor(kText), WidthSource::TextSize);
    EXPECT_EQ(widthTargetFor(kTriangle), WidthSource::PenWidth);
}

TEST(CanvasCursors, ModesAndKindsChooseTheirCursor) {
    EXPECT_EQ(cursorFor(kEraserMode, kLine).imageName, QStringLiteral("cr_16x16_rubber.png"));
    EXPECT_EQ(cursorFor(kEraserMode, kLine).hotSpot, QPoint(3, 3));
    EXPECT_EQ(cursorFor(kDrawMode, kPencil).imageName, QStringLiteral("cr_16x16_pencil.png"));
    EXPECT_EQ(cursorFor(kDrawMode, kHighlighter).hotSpot, QPoint(0, 16));
    EXPECT_EQ(cursorFor(kDrawMode, kTriangle).imageName, QStringLiteral("cr_16x16_cross.png"));
    EXPECT_EQ(cursorFor(kDrawMode, kText).fallback, Qt::IBeamCursor);
    for (int kind : {int(kImage), 6, 9, int(kNone), 22})
        EXPECT_EQ(cursorFor(kDrawMode, kind).fallback, Qt::PointingHandCursor) << kind;
    EXPECT_EQ(cursorFor(kArrowMode, kLine).fallback, Qt::ArrowCursor);
    EXPECT_FALSE(cursorFor(kPointerMode, kLine).set);
    // Without resource files the standard shape stands in.
    EXPECT_EQ(loadCursor({true, QStringLiteral("no-such-cursor.png"), {}, Qt::CrossCursor}).shape(), Qt::CrossCursor);
}

}  // namespace
}  // namespace veltrin::wb
