// The canvas driven by synthesized mouse and key events, offscreen: a 1600 x 1200 board fitted into
// an 800 x 800 view lies at (0, 100, 800, 600) with both scales 0.5.

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/whiteboard/CanvasTestSupport.h"
#include "whiteboard/TActivePaintBox.h"

namespace veltrin::wb::testing {
namespace {

class Canvas : public ::testing::Test {
protected:
    void SetUp() override {
        canvas.resize(800, 800);
        canvas.setBoardSize(1600, 1200);
        canvas.setScaleType(kFitBoard);
        canvas.interaction().setDelegate(&delegate);
        canvas.interaction().setMyUID(7);
        canvas.show();
        canvas.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    }
    CanvasInteraction& logic() { return canvas.interaction(); }
    // The view point of a board point.
    static QPointF view(double bx, double by) { return {bx * 0.5, 100 + by * 0.5}; }
    PaintObjectPtr add(int kind, int x, int y, int x2, int y2) {
        auto o = std::make_shared<TPaintObject>(7, logic().newObjectId(), 1);
        o->FTyp = kind;
        o->FX = x;
        o->FY = y;
        o->FX2 = x2;
        o->FY2 = y2;
        canvas.objects().append(o);
        return o;
    }
    void tool(int kind, int mode = kDrawMode) {
        logic().SetNewShapeType(kind);
        logic().SetCanvasMode(mode);
        delegate.calls.clear();
    }

    TActivePaintBox canvas;
    RecordingDelegate delegate;
};

TEST_F(Canvas, AtHalfScaleAClickAndADragBecomeBoardUnits) {
    tool(kLine);
    press(&canvas, QPointF(101, 151));
    ASSERT_NE(logic().newPaintObject(), nullptr);
    EXPECT_EQ(logic().newPaintObject()->FX, 202);
    EXPECT_EQ(logic().newPaintObject()->FY, 102);
    drag(&canvas, QPointF(150.7, 180.2));
    EXPECT_EQ(logic().newPaintObject()->FX2, 301);
    EXPECT_EQ(logic().newPaintObject()->FY2, 160);
    release(&canvas, QPointF(150.7, 180.2));
    ASSERT_EQ(delegate.of("new").size(), 1u);
    const TPaintObject& line = delegate.of("new")[0].object;
    EXPECT_EQ((std::array{line.FX, line.FY, line.FX2, line.FY2}), (std::array{202, 102, 301, 160}));
    EXPECT_EQ(line.FUserID, 7);
    EXPECT_EQ(line.FObjectID, 1);
    EXPECT_EQ(canvas.objects().size(), 1u);
}

TEST_F(Canvas, AClickEightUnitsAwaySelectsAndElevenDoesNot) {
    const PaintObjectPtr o = add(kRectangle, 100, 100, 200, 200);
    tool(kNone, kArrowMode);
    press(&canvas, view(92, 120));
    release(&canvas, view(92, 120));
    EXPECT_EQ(logic().selectedObject(), o);
    press(&canvas, view(89, 120));
    release(&canvas, view(89, 120));
    EXPECT_EQ(logic().selectedObject(), nullptr);
    // A plain click on an object reports it updated.
    EXPECT_EQ(delegate.of("update").size(), 1u);
}

TEST_F(Canvas, ThePointInTwoHandleSquaresStartsTheLeftMiddleResize) {
    add(kRectangle, 100, 100, 104, 104);
    tool(kNone, kArrowMode);
    press(&canvas, view(95, 98));
    EXPECT_EQ(logic().mouseMode(), kLeftMiddle);
    release(&canvas, view(95, 98));
    EXPECT_EQ(logic().mouseMode(), kNoHandle);
}

TEST_F(Canvas, DraggingTheRightMiddleHandlePastTheLeftEdgeLeavesZeroWidth) {
    const PaintObjectPtr o = add(kRectangle, 100, 100, 200, 150);
    tool(kNone, kArrowMode);
    press(&canvas, view(204, 126));
    ASSERT_EQ(logic().mouseMode(), kRightMiddle);
    drag(&canvas, view(150, 126));
    drag(&canvas, view(40, 126));
    release(&canvas, view(40, 126));
    EXPECT_EQ(o->FX, 100);
    EXPECT_EQ(o->FX2, 100);
    ASSERT_EQ(delegate.of("update").size(), 1u);
    EXPECT_EQ(delegate.of("update")[0].object.FX2, 100);
}

TEST_F(Canvas, MovingAnObjectShiftsItByWholeBoardUnits) {
    const PaintObjectPtr o = add(kOval, 100, 100, 200, 150);
    tool(kNone, kArrowMode);
    press(&canvas, view(150, 120));
    ASSERT_EQ(logic().mouseMode(), kMoveObject);
    drag(&canvas, view(180, 100));
    release(&canvas, view(180, 100));
    EXPECT_EQ((std::array{o->FX, o->FY, o->FX2, o->FY2}), (std::array{130, 80, 230, 130}));
}

TEST_F(Canvas, ReturnTwiceInTheTextFieldMakesOneObjectPerNonEmptyLine) {
    tool(kText);
    press(&canvas, QPointF(100, 200));
    release(&canvas, QPointF(100, 200));
    ASSERT_NE(canvas.textField(), nullptr);
    EXPECT_EQ(canvas.textField()->geometry(), QRect(100, 200, 100, 25));
    QTest::keyClicks(canvas.textField(), QStringLiteral("first"));
    QTest::keyClick(canvas.textField(), Qt::Key_Return);
    ASSERT_NE(canvas.textField(), nullptr);
    EXPECT_EQ(canvas.textField()->geometry().topLeft(), QPoint(100, 225));
    QTest::keyClick(canvas.textField(), Qt::Key_Return);  // an empty line makes nothing
    QTest::keyClicks(canvas.textField(), QStringLiteral("third"));
    QTest::keyClick(canvas.textField(), Qt::Key_Return);
    QTest::keyClick(canvas.textField(), Qt::Key_Escape);
    EXPECT_EQ(canvas.textField(), nullptr);
    const auto made = delegate.of("new");
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].object.FText, "first");
    EXPECT_EQ(made[1].object.FText, "third");
    // Field origin (100, 200) in view points is board (200, 200); the second line is 50 units lower.
    EXPECT_EQ(made[0].object.FX, 200);
    EXPECT_EQ(made[0].object.FY, 200);
    EXPECT_EQ(made[1].object.FY, 300);
    EXPECT_EQ(made[0].object.FTyp, kText);
    EXPECT_EQ(made[0].object.FFont.fontName, "Helvetica");
    EXPECT_FALSE(made[0].object.FMultiLine);
    EXPECT_EQ(canvas.objects().size(), 2u);
}

TEST_F(Canvas, EditingATextAndPressingEscapeRemovesIt) {
    const PaintObjectPtr o = add(kText, 100, 100, 300, 140);
    o->FText = "hello";
    tool(kNone, kArrowMode);
    logic().SetSelectedObject(o);
    logic().DisplayTextTyperForSelectedObject();
    ASSERT_NE(canvas.textField(), nullptr);
    EXPECT_EQ(canvas.textField()->text(), QStringLiteral("hello"));
    EXPECT_EQ(canvas.textField()->geometry().topLeft(), QPoint(50, 150));
    QTest::keyClick(canvas.textField(), Qt::Key_Escape);
    EXPECT_EQ(canvas.objects().size(), 0u);
    EXPECT_EQ(delegate.of("delete").size(), 1u);
    EXPECT_TRUE(delegate.of("new").empty());
}

TEST_F(Canvas, TheRightArrowKeySendsOneUpdateTenUnitsFurther) {
    const PaintObjectPtr o = add(kRectangle, 100, 100, 200, 150);
    tool(kNone, kArrowMode);
    logic().SetSelectedObject(o);
    QTest::keyClick(&canvas, Qt::Key_Right);
    ASSERT_EQ(delegate.of("update").size(), 1u);
    EXPECT_EQ(delegate.of("update")[0].object.FX, 110);
    EXPECT_EQ(delegate.of("update")[0].object.FX2, 210);
    QTest::keyClick(&canvas, Qt::Key_Delete);
    EXPECT_EQ(delegate.of("delete").size(), 1u);
    EXPECT_EQ(canvas.objects().size(), 0u);
}

TEST_F(Canvas, AnEraserDragDeletesTheTopmostObjectAtEachPosition) {
    const PaintObjectPtr bottom = add(kRectangle, 0, 0, 100, 100);
    const PaintObjectPtr middle = add(kRectangle, 50, 0, 150, 100);
    const PaintObjectPtr top = add(kRectangle, 100, 0, 200, 100);
    tool(kNone, kEraserMode);
    press(&canvas, view(120, 50));
    drag(&canvas, view(110, 50));
    drag(&canvas, view(90, 50));
    drag(&canvas, view(300, 50));
    release(&canvas, view(300, 50));
    const auto deleted = delegate.of("delete");
    ASSERT_EQ(deleted.size(), 3u);
    EXPECT_EQ(deleted[0].object.FObjectID, top->FObjectID);
    EXPECT_EQ(deleted[1].object.FObjectID, middle->FObjectID);
    EXPECT_EQ(deleted[2].object.FObjectID, bottom->FObjectID);
    EXPECT_EQ(canvas.objects().size(), 0u);
}

TEST_F(Canvas, AStrokeIsDrawnLiveWithoutRebuildingTheBoardAndFinishedOnRelease) {
    add(kFilledRectangle, 0, 0, 1600, 1200)->FBackColor = PaintColor::whiteColor();
    tool(kPencil);
    logic().NewShapeOutlineColor = PaintColor::blueColor();
    logic().NewShapeOutlineWidth = 6;
    canvas.grab();
    const auto rebuilds = canvas.renderer().cacheRebuilds();
    press(&canvas, view(100, 100));
    for (int x = 110; x <= 300; x += 10) drag(&canvas, view(x, 100 + x / 10));
    const QImage during = canvas.grab().toImage();
    EXPECT_EQ(canvas.renderer().cacheRebuilds(), rebuilds);
    EXPECT_EQ(during.pixelColor(view(200, 120).toPoint()), QColor(Qt::blue));
    release(&canvas, view(300, 130));
    ASSERT_EQ(delegate.of("new").size(), 1u);
    const TPaintObject& stroke = delegate.of("new")[0].object;
    EXPECT_EQ(stroke.FNumHandPoints(), 21);
    EXPECT_EQ((std::array{stroke.FX, stroke.FY, stroke.FX2, stroke.FY2}), (std::array{100, 100, 300, 130}));
    const QImage after = canvas.grab().toImage();
    EXPECT_EQ(canvas.renderer().cacheRebuilds(), rebuilds);  // the finished stroke is drawn over the kept picture
    EXPECT_EQ(after, canvas.boardImage().convertToFormat(after.format()));
}

TEST_F(Canvas, AHighlighterShowsAtThirtyPercentWhileDrawnAndTwentyOnceFinished) {
    tool(kHighlighter);
    logic().NewShapeFillColor = PaintColor::redColor();
    logic().NewShapeHighlighterWidth = 20;
    press(&canvas, view(100, 100));
    drag(&canvas, view(400, 100));
    const QColor live = canvas.grab().toImage().pixelColor(view(250, 100).toPoint());
    release(&canvas, view(400, 100));
    const QColor done = canvas.grab().toImage().pixelColor(view(250, 100).toPoint());
    // Red over white: green and blue fall to 255 x (1 - alpha).
    EXPECT_NEAR(live.green(), 255 * 0.7, 3);
    EXPECT_NEAR(done.green(), 255 * 0.8, 3);
    EXPECT_EQ(done.red(), 255);
}

TEST_F(Canvas, APictureIsFittedIntoTheDraggedRectangle) {
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::green);
    canvas.setImageChooser([&] { return std::optional<QImage>(picture); });
    tool(kImage);
    press(&canvas, view(300, 300));
    drag(&canvas, view(100, 100));
    release(&canvas, view(100, 100));
    ASSERT_EQ(delegate.of("new").size(), 1u);
    const TPaintObject& o = delegate.of("new")[0].object;
    EXPECT_EQ((std::array{o.FX, o.FY, o.FX2, o.FY2}), (std::array{100, 100, 300, 200}));
    EXPECT_EQ(o.FObjectImage.size(), QSize(200, 100));
    EXPECT_EQ(logic().CanvasMode(), kArrowMode);

    canvas.setImageChooser([] { return std::optional<QImage>(); });
    tool(kImage);
    press(&canvas, view(300, 300));
    release(&canvas, view(400, 400));
    EXPECT_TRUE(delegate.of("new").empty());
    EXPECT_EQ(canvas.objects().size(), 1u);
}

TEST_F(Canvas, ReadOnlyBlocksChangesButNotPanning) {
    add(kRectangle, 100, 100, 200, 200);
    canvas.setScaleType(kNoScaling);
    canvas.SetReadOnly(true);
    for (int mode : {kDrawMode, kEraserMode, kPointerMode}) {
        tool(kLine, mode);
        press(&canvas, QPointF(150, 150));
        drag(&canvas, QPointF(180, 180));
        release(&canvas, QPointF(180, 180));
    }
    QTest::keyClick(&canvas, Qt::Key_Escape);
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_EQ(canvas.objects().size(), 1u);
    tool(kNone, kArrowMode);
    press(&canvas, QPointF(150, 150));
    drag(&canvas, QPointF(170, 140));
    release(&canvas, QPointF(170, 140));
    EXPECT_EQ(logic().dxOfset(), 20);
    EXPECT_EQ(logic().dyOfset(), -10);
    EXPECT_EQ(logic().selectedObject(), nullptr);
}

TEST_F(Canvas, RightClicksOpenTheObjectOrTheGeneralMenu) {
    const PaintObjectPtr o = add(kRectangle, 100, 100, 200, 200);
    tool(kNone, kArrowMode);
    press(&canvas, view(150, 150), Qt::RightButton);
    release(&canvas, view(150, 150), Qt::RightButton);
    press(&canvas, view(900, 900), Qt::RightButton);
    release(&canvas, view(900, 900), Qt::RightButton);
    ASSERT_EQ(delegate.of("object-menu").size(), 1u);
    EXPECT_EQ(delegate.of("object-menu")[0].object.FObjectID, o->FObjectID);
    EXPECT_EQ(delegate.of("general-menu").size(), 1u);
}

TEST_F(Canvas, ThePointerFollowsTheDragAndHidesOnRelease) {
    tool(kNone, kPointerMode);
    logic().setMyPointer(5);
    press(&canvas, view(100.6, 200.9));
    drag(&canvas, view(300, 400));
    EXPECT_TRUE(canvas.pointerShown());
    EXPECT_EQ(canvas.pointerIndex(), 5);
    EXPECT_EQ(canvas.pointerOverlayFrame(), QRect(150 - 12, 100 + 200 - 12, 24, 24));
    release(&canvas, view(300, 400));
    EXPECT_FALSE(canvas.pointerShown());
    const auto shown = delegate.of("pointer");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].object.FX, 100);
    EXPECT_EQ(shown[0].object.FY, 200);
    EXPECT_EQ(delegate.of("pointer-hidden").size(), 1u);
}

TEST_F(Canvas, PastedTextIsAMultiLineObjectThatIsSelected) {
    logic().NewShapeTextSize = 14;
    logic().PasteTextObject(QStringLiteral("a pasted line of text that is long enough to wrap at three hundred points"),
                            QPointF(10, 10), true);
    ASSERT_EQ(delegate.of("new").size(), 1u);
    const TPaintObject& o = delegate.of("new")[0].object;
    EXPECT_TRUE(o.FMultiLine);
    EXPECT_EQ(o.FX, 10);
    EXPECT_LE(o.FX2 - o.FX, 300);
    EXPECT_GT(o.FY2 - o.FY, 14);  // wrapped onto more than one line
    EXPECT_EQ(logic().selectedObject()->FObjectID, o.FObjectID);
}

}  // namespace
}  // namespace veltrin::wb::testing
