#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>

#include "whiteboard/BoardRenderer.h"
#include "whiteboard/PaintObjectRenderer.h"

using namespace veltrin::wb;

namespace {

// Colours are compared with a small tolerance: anti-aliased edges may differ by a unit or two.
bool near(QColor a, QColor b, int tolerance = 3) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

const QColor kWhite(255, 255, 255);

struct Scene {
    BoardAppearance appearance;
    PaintObjectList objects;
    QSize view{200, 150};

    Scene() {
        appearance.originalW = 200;
        appearance.originalH = 150;
    }
    PaintObjectPtr add(std::int32_t kind, int x, int y, int x2, int y2) {
        auto o = std::make_shared<TPaintObject>(1, static_cast<std::int32_t>(objects.size()) + 1, 0);
        o->FTyp = kind;
        o->FX = x, o->FY = y, o->FX2 = x2, o->FY2 = y2;
        o->FColor = PaintColor::blackColor();
        objects.append(o);
        return o;
    }
    QImage render(BoardRenderer* cached = nullptr) {
        QImage image(view, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        if (cached) {
            cached->paint(p, view, appearance, objects, nullptr);
        } else {
            BoardRenderer::paintDirect(p, view, appearance, objects, nullptr);
        }
        return image;
    }
};

}  // namespace

TEST(BoardGeometry, PlacementOfTheThreeScaleTypes) {
    struct Case {
        QSizeF view;
        int w, h, type;
        double dx, dy;
        QRectF rect;
        double sx, sy;
    };
    const Case cases[] = {
        {{800, 800}, 1600, 1200, kFitBoard, 0, 0, {0, 100, 800, 600}, 0.5, 0.5},
        {{700, 400}, 1000, 3000, kFitWidth, 7, -50, {0, -50, 700, 2100}, 0.7, 0.7},
        {{333, 100}, 1000, 1000, kFitWidth, 0, 0, {0, 0, 333, 333}, 0.33, 0.33},
        {{500, 500}, 300, 200, kNoScaling, 12, -4, {12, -4, 300, 200}, 1.0, 1.0},
        // Centred along the spare axis, then widened to whole points.
        {{100, 100}, 300, 200, kFitBoard, 0, 0, {0, 16, 100, 68}, 0.33, 0.34},
        // A board without area is never divided by.
        {{100, 100}, 0, 200, kFitWidth, 0, 0, {}, 1.0, 1.0},
    };
    for (const Case& c : cases) {
        const BoardPlacement p = placeBoard(c.view, c.w, c.h, c.type, c.dx, c.dy);
        EXPECT_EQ(p.scaledRect, c.rect) << c.w << "x" << c.h << " type " << c.type;
        EXPECT_DOUBLE_EQ(p.scaleX, c.sx);
        EXPECT_DOUBLE_EQ(p.scaleY, c.sy);
    }
}

TEST(BoardGeometry, PointerFrameAndImages) {
    const BoardPlacement p = placeBoard({800, 800}, 1600, 1200, kFitBoard, 0, 0);
    EXPECT_EQ(pointerFrame(p, 100, 40), QRect(50 - 12, 120 - 12, 24, 24));
    EXPECT_EQ(PaintObjectRenderer::pointerImageName(9), "pt2.png");
    EXPECT_EQ(PaintObjectRenderer::pointerImageName(-1), "pt2.png");
    EXPECT_EQ(PaintObjectRenderer::pointerImageName(7), "pt7.png");
}

TEST(BoardRenderer, BackdropBackgroundAndHiddenMarkup) {
    Scene s;
    s.view = QSize(200, 200);
    s.appearance.scaleType = kFitBoard;  // 200 x 150 board: y from 25 to 175
    s.appearance.backgroundColor = PaintColor::rgb(0, 0, 1);
    s.add(kFilledRectangle, 0, 0, 200, 150)->FBackColor = PaintColor::greenColor();
    QImage image = s.render();
    EXPECT_TRUE(near(image.pixelColor(100, 10), BoardRenderer::backdropColor()));
    EXPECT_TRUE(near(image.pixelColor(100, 100), Qt::green));

    s.appearance.markupVisible = false;
    image = s.render();
    EXPECT_TRUE(near(image.pixelColor(100, 10), BoardRenderer::backdropColor()));
    EXPECT_TRUE(near(image.pixelColor(100, 100), Qt::blue));

    // A background image replaces what is below, but only on a loaded board that says it has one.
    s.appearance.backgroundImage = QImage(4, 3, QImage::Format_RGB32);
    s.appearance.backgroundImage.fill(Qt::red);
    s.appearance.hasBgImage = true;
    image = s.render();
    EXPECT_TRUE(near(image.pixelColor(100, 100), Qt::blue));
    s.appearance.boardLoaded = true;
    image = s.render();
    EXPECT_TRUE(near(image.pixelColor(100, 100), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(100, 10), BoardRenderer::backdropColor()));
}

TEST(BoardRenderer, RectangleAtScaleOneAndAHalf) {
    Scene s;
    s.view = QSize(150, 150);
    s.appearance.originalW = 100;
    s.appearance.originalH = 100;
    s.appearance.scaleType = kFitBoard;
    s.add(kRectangle, 10, 10, 30, 30);  // pen 1 x 1.5
    const QImage image = s.render();
    for (int y : {20, 30, 40}) {
        EXPECT_LT(image.pixelColor(15, y).red(), 128) << y;
        EXPECT_LT(image.pixelColor(44, y).red(), 128) << y;
        EXPECT_TRUE(near(image.pixelColor(13, y), kWhite)) << y;
        EXPECT_TRUE(near(image.pixelColor(47, y), kWhite)) << y;
        EXPECT_TRUE(near(image.pixelColor(30, y), kWhite)) << y;
    }
}

TEST(BoardRenderer, GridCoversWholeStepsOnly) {
    Scene s;
    s.add(kGrid, 10, 10, 140, 80);  // 130 x 70 at scale 1: step 25, covers 125 x 50
    const QImage image = s.render();
    auto at = [&](int x, int y) { return image.pixelColor(x, y); };
    const QColor grey(127, 127, 127);
    for (int x : {11, 20, 47, 72, 97, 122, 134}) {
        EXPECT_EQ(at(x, 10), QColor(Qt::red)) << x;
        EXPECT_EQ(at(x, 60), QColor(Qt::red)) << x;
    }
    for (int y : {11, 20, 34, 36, 59}) {
        EXPECT_EQ(at(10, y), QColor(Qt::blue)) << y;
        EXPECT_EQ(at(135, y), QColor(Qt::blue)) << y;
    }
    for (int x : {35, 60, 85, 110}) EXPECT_TRUE(near(at(x, 20), grey)) << x;
    EXPECT_TRUE(near(at(20, 35), grey));
    // Nothing beyond the whole steps nor between the lines.
    for (auto [x, y] : {std::pair{138, 30}, {50, 70}, {36, 20}, {20, 34}, {20, 36}}) {
        EXPECT_EQ(at(x, y), kWhite) << x << "," << y;
    }
}

TEST(BoardRenderer, PentagonIgnoresTheHeight) {
    Scene s;
    s.add(kPentagon, 20, 10, 120, 50);  // radius 50 about (70, 60): apex (70, 10), base at y 100
    const QImage image = s.render();
    EXPECT_LT(image.pixelColor(70, 10).red(), 200);
    EXPECT_LT(image.pixelColor(70, 100).red(), 200);
    EXPECT_TRUE(near(image.pixelColor(70, 60), kWhite));
    EXPECT_TRUE(near(image.pixelColor(70, 104), kWhite));
    EXPECT_TRUE(near(image.pixelColor(70, 7), kWhite));
}

TEST(BoardRenderer, HighlighterInksInItsFillColourAtOneFifth) {
    Scene s;
    auto stroke = s.add(kHighlighter, 0, 0, 0, 0);
    stroke->FColor = PaintColor::blueColor();
    stroke->FBackColor = PaintColor::redColor();
    stroke->FPenWidth = 15;
    stroke->FHandPoints = {{20, 50}, {180, 50}};
    const QImage image = s.render();
    EXPECT_TRUE(near(image.pixelColor(100, 50), QColor(255, 204, 204)));
}

TEST(BoardRenderer, SelectionDrawsFrameAndHandles) {
    Scene s;
    auto o = s.add(kRectangle, 50, 50, 100, 90);
    s.objects.setSelected(o);
    const QImage image = s.render();
    // Handle squares: top-left at (45, 45), bottom-right at (100, 90), both 5 x 5.
    EXPECT_EQ(image.pixelColor(45, 47), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(105, 92), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(73, 45), QColor(Qt::red));  // top-middle at (73, 45)
    o->FTyp = kPencil;  // strokes have no handles
    s.objects.touch();
    EXPECT_EQ(s.render().pixelColor(105, 92), kWhite);
}

TEST(BoardRenderer, CachedPictureEqualsDirectAndIsReusedUntilSomethingChanges) {
    Scene s;
    s.appearance.scaleType = kFitBoard;
    s.view = QSize(300, 260);
    for (int kind : {kLine, kOval, kFilledOval, kTriangle, kHexagon, kDiamond, kParallelogram, kTrapezium,
                     kCylinder, kCone, kGrid}) {
        s.add(kind, 10 + kind * 5, 20, 60 + kind * 7, 90)->FBackColor = PaintColor::yellowColor();
    }
    s.objects.setSelected(s.objects.objects()[3]);
    BoardRenderer renderer;
    EXPECT_EQ(s.render(&renderer), s.render());
    EXPECT_EQ(s.render(&renderer), s.render());
    EXPECT_EQ(renderer.cacheRebuilds(), 1u);

    // An object appended on top is drawn onto the kept picture; a new view size rebuilds it.
    s.add(kRectangle, 0, 0, 40, 40);
    EXPECT_EQ(s.render(&renderer), s.render());
    EXPECT_EQ(renderer.cacheRebuilds(), 1u);
    EXPECT_EQ(renderer.cacheExtensions(), 1u);
    s.view = QSize(320, 260);
    EXPECT_EQ(s.render(&renderer), s.render());
    EXPECT_EQ(renderer.cacheRebuilds(), 2u);
}

TEST(PaintObjectRenderer, RotationTurnsCounterClockwise) {
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixelColor(0, 0, Qt::red);
    source.setPixelColor(1, 0, Qt::blue);
    const QImage quarter = PaintObjectRenderer::rotateBackground(source, 1);
    ASSERT_EQ(quarter.size(), QSize(1, 2));
    EXPECT_EQ(quarter.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(quarter.pixelColor(0, 1), QColor(Qt::red));
    const QImage back = PaintObjectRenderer::rotateBackground(source, 3);
    EXPECT_EQ(back.pixelColor(0, 0), QColor(Qt::red));
    const QImage half = PaintObjectRenderer::rotateBackground(source, 2);
    EXPECT_EQ(half.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(PaintObjectRenderer::rotateBackground(source, 7), source);
}
