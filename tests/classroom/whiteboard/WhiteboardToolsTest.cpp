// The whiteboard's tool actions and tool bar, without a server: what each tool shows and sets, and
// the width stepper's value stored to the settings.

#include <QLabel>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "classroom/ClassroomView.h"
#include "classroom/whiteboard/WhiteboardFeature.h"
#include "tests/classroom/FakeShell.h"
#include "whiteboard/TActivePaintBox.h"

namespace veltrin::testing {
namespace {

using namespace wb;
using Tool = WhiteboardFeature::Tool;

class WhiteboardTools : public ::testing::Test {
protected:
    void SetUp() override {
        shell.settings.setDefStoredPenWidth(4);
        shell.settings.setDefStoredTextSize(18);
        shell.settings.setDefStoredHighliterWidth(22);
        feature = std::make_unique<WhiteboardFeature>(WhiteboardLinks{}, shell.settings, view);
        EXPECT_FALSE(view.hasWhiteboardCanvas());
        feature->resetForJoin(101);
        ASSERT_TRUE(view.hasWhiteboardCanvas());
    }
    WhiteboardToolBar& bar() { return *feature->toolBar(); }
    CanvasInteraction& canvas() { return feature->canvas()->interaction(); }

    FakeShell shell;
    ClassroomView view;
    std::unique_ptr<WhiteboardFeature> feature;
};

TEST_F(WhiteboardTools, EachToolSetsItsModeKindAndSettings) {
    struct Case {
        void (WhiteboardFeature::*action)();
        Tool tool;
        int mode, kind;
        bool line, width, fill;
        int stepper;
    };
    const Case cases[] = {
        {&WhiteboardFeature::wbacLine, Tool::Line, kDrawMode, kLine, true, true, false, 4},
        {&WhiteboardFeature::wbacPencil, Tool::Pencil, kDrawMode, kPencil, true, true, false, 4},
        {&WhiteboardFeature::wbacMarker, Tool::Marker, kDrawMode, kHighlighter, false, true, true, 22},
        {&WhiteboardFeature::wbacText, Tool::Text, kDrawMode, kText, true, true, false, 18},
        {&WhiteboardFeature::wbacGrid, Tool::Grid, kDrawMode, kGrid, false, false, false, -1},
        {&WhiteboardFeature::wbacEraser, Tool::Eraser, kEraserMode, -1, false, false, false, -1},
        {&WhiteboardFeature::wbacPointer, Tool::Pointer, kPointerMode, -1, false, false, false, -1},
        {&WhiteboardFeature::wbacArrow, Tool::Arrow, kArrowMode, -1, false, false, false, -1},
    };
    for (const Case& c : cases) {
        (feature.get()->*c.action)();
        EXPECT_EQ(canvas().CanvasMode(), c.mode) << int(c.tool);
        if (c.kind >= 0) {
            EXPECT_EQ(canvas().NewShapeType(), c.kind) << int(c.tool);
        }
        EXPECT_FALSE(bar().button(c.tool)->isEnabled()) << int(c.tool);
        EXPECT_EQ(bar().lineColorButton()->isVisibleTo(&bar()), c.line) << int(c.tool);
        EXPECT_EQ(bar().widthStepper()->isVisibleTo(&bar()), c.width) << int(c.tool);
        EXPECT_EQ(bar().fillColorButton()->isVisibleTo(&bar()), c.fill) << int(c.tool);
        if (c.stepper >= 0) {
            EXPECT_EQ(bar().stepperValue(), c.stepper) << int(c.tool);
        }
    }
    feature->wbacMarker();
    EXPECT_EQ(bar().fillColorButton()->text(), QStringLiteral("Color"));
    EXPECT_EQ(canvas().NewShapeHighlighterWidth, 22);
    EXPECT_EQ(canvas().NewShapeFillColor, PaintColor::yellowColor());
    feature->wbacText();
    EXPECT_EQ(bar().widthLabel()->text(), QStringLiteral("Text Size"));
    EXPECT_EQ(canvas().NewShapeTextSize, 18);
}

TEST_F(WhiteboardTools, TheStepperStoresTheSizeOfTheChosenTool) {
    feature->wbacMarker();
    bar().widthStepper()->setValue(30);
    EXPECT_EQ(shell.settings.defStoredHighliterWidth(), 30);
    EXPECT_EQ(bar().widthValue()->text(), QStringLiteral("30"));
    feature->wbacText();
    bar().widthStepper()->setValue(11);
    EXPECT_EQ(shell.settings.defStoredTextSize(), 11);
    feature->SelectShapeType(kTriangle);
    EXPECT_EQ(bar().stepperValue(), 4);
    bar().widthStepper()->setValue(6);
    EXPECT_EQ(shell.settings.defStoredPenWidth(), 6);
    EXPECT_EQ(shell.settings.defStoredHighliterWidth(), 30);
    EXPECT_EQ(canvas().NewShapeOutlineWidth, 6);
    // Saved: a fresh store on the same file reads the values back.
    DefaultFlags reread(DefaultFlags::Storage{shell.dir.filePath(QStringLiteral("settings.ini"))});
    reread.LoadDefaultProperties();
    EXPECT_EQ(reread.defStoredPenWidth(), 6);
    EXPECT_EQ(reread.defStoredTextSize(), 11);
}

TEST_F(WhiteboardTools, ShapeAndPointerSelectorsRememberTheChoice) {
    feature->SelectShapeType(kHexagon);
    EXPECT_EQ(bar().tagOf(Tool::Shape), kHexagon);
    EXPECT_EQ(canvas().CanvasMode(), kDrawMode);
    feature->wbacArrow();
    feature->wbacShape();
    EXPECT_EQ(canvas().NewShapeType(), kHexagon);
    feature->SelectPointerImg(6);
    EXPECT_EQ(canvas().MyPointer(), 6);
    EXPECT_EQ(canvas().CanvasMode(), kPointerMode);
    // Escape on the canvas returns to the arrow, which the tool bar then shows as chosen.
    QTest::keyClick(feature->canvas(), Qt::Key_Escape);
    EXPECT_EQ(canvas().CanvasMode(), kArrowMode);
    EXPECT_FALSE(bar().button(Tool::Arrow)->isEnabled());
    EXPECT_TRUE(bar().button(Tool::Pointer)->isEnabled());

    QStringList items;
    for (QAction* a : bar().shapeMenu()->actions())
        if (!a->isSeparator()) items << a->text();
    EXPECT_EQ(items, (QStringList{"Rectangle", "Filled Rectangle", "Oval", "Filled Oval", "Triangle", "Pentagon",
                                  "Hexagon", "Diamond", "Parallelogram", "Trapezium", "Cone", "Cylinder"}));
    EXPECT_EQ(bar().pointerMenu()->actions().size(), 8);
}

TEST_F(WhiteboardTools, RemoteObjectsForOtherBoardsAreIgnored) {
    TPaintObject o(55, 40, 2);
    o.FTyp = kRectangle;
    o.FX2 = o.FY2 = 10;
    const Bytes body = o.bodyBytes(true, 2);
    TPaintObjectHeader header = o.header(TPaintObjectHeader::kNewObject, static_cast<std::int32_t>(body.size()));
    feature->Safe_PaintXObject(header, body);
    EXPECT_EQ(feature->canvas()->objects().size(), 0u);
    header.BoardIndex = 1;
    feature->Safe_PaintXObject(header, body);
    ASSERT_EQ(feature->canvas()->objects().size(), 1u);
    EXPECT_EQ(feature->canvas()->objects().currentLocalId(), 41);
    feature->Safe_Pointer(2, 10, 10, true, 3);
    EXPECT_FALSE(feature->canvas()->pointerShown());
    feature->Safe_Pointer(1, 10, 10, true, 9);
    EXPECT_TRUE(feature->canvas()->pointerShown());
    EXPECT_EQ(feature->canvas()->pointerIndex(), 9);
    header.UpdateType = TPaintObjectHeader::kDeletedObject;
    feature->Safe_PaintXObject(header, {});
    EXPECT_EQ(feature->canvas()->objects().size(), 0u);
}

}  // namespace
}  // namespace veltrin::testing
