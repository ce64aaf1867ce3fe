// A moderator draws on the real canvas of one controller; an attendee's controller, connected to
// the same room on the reference server, shows the same board.

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "classroom/whiteboard/WhiteboardFeature.h"
#include "tests/classroom/FakeShell.h"
#include "tests/classroom/JoinDemoRoom.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestRooms.h"
#include "tests/whiteboard/CanvasTestSupport.h"
#include "whiteboard/TActivePaintBox.h"

namespace veltrin::testing {
namespace {

using namespace wb;
using wb::testing::drag;
using wb::testing::press;
using wb::testing::release;

struct Person {
    FakeShell shell;
    std::unique_ptr<ClassroomViewController> controller;
    WhiteboardFeature& board() { return *controller->whiteboard(); }
    TActivePaintBox& canvas() { return *board().canvas(); }
};

// What a board looks like, painted the same way for both people whatever their window sizes.
QImage picture(TActivePaintBox& canvas) {
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    BoardRenderer::paintDirect(p, image.size(), canvas.appearance(), canvas.objects(), nullptr);
    return image;
}

class WhiteboardTogether : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(1, {QStringLiteral("--rooms"), writeTempFile(QString::fromLatin1(kTestRooms))}))
            << server.error().toStdString();
        join(teacher, "teacher");
        join(student, "student1");
        ASSERT_TRUE(waitUntil([&] { return !teacher.canvas().ReadOnly(); }));
        EXPECT_TRUE(student.canvas().ReadOnly());
        EXPECT_TRUE(teacher.board().toolBar()->isVisibleTo(teacher.canvas().parentWidget()));
        ASSERT_TRUE(waitUntil([&] { return student.controller->participants().users().size() == 2; }));
        // Both have shown the room's active board, so nothing the server sends at joining resizes
        // the boards below.
        ASSERT_TRUE(waitUntil([&] { return teacher.board().displayCount() > 0 && student.board().displayCount() > 0; }));
        // The moderator's canvas at a size where board and view units are easy to relate.
        teacher.canvas().resize(800, 600);
        teacher.canvas().setBoardSize(1600, 1200);
        student.canvas().setBoardSize(1600, 1200);
        teacher.canvas().setScaleType(kFitBoard);
    }
    void TearDown() override {
        teacher.controller.reset();
        student.controller.reset();
        waitForRetiredLinks(10000);
    }
    void join(Person& p, const char* user) {
        p.controller = joinDemoRoom(p.shell, server.port(), user);
        ASSERT_TRUE(waitUntil([&] { return p.controller->isJoined() && p.controller->whiteboard()->canvas(); }));
    }
    // View point of a board point on the moderator's 800 x 600 canvas (scale 0.5).
    static QPointF at(double bx, double by) { return {bx * 0.5, by * 0.5}; }
    void stroke(QWidget* w, std::initializer_list<QPointF> points) {
        auto it = points.begin();
        press(w, *it);
        for (++it; it != points.end(); ++it) drag(w, *it);
        release(w, *(points.end() - 1));
    }

    ServerProcess server;
    Person teacher;
    Person student;
};

TEST_F(WhiteboardTogether, WhatTheModeratorDrawsTheAttendeeSees) {
    WhiteboardFeature& board = teacher.board();
    QWidget* canvas = &teacher.canvas();

    board.wbacLine();
    stroke(canvas, {at(100, 100), at(700, 300)});
    board.wbacPencil();
    stroke(canvas, {at(200, 500), at(260, 540), at(330, 520), at(420, 600), at(500, 560)});
    board.SelectShapeType(kFilledOval);
    stroke(canvas, {at(800, 200), at(1100, 450)});
    board.wbacText();
    press(canvas, at(200, 800));
    release(canvas, at(200, 800));
    ASSERT_NE(teacher.canvas().textField(), nullptr);
    QTest::keyClicks(teacher.canvas().textField(), QStringLiteral("Hello class"));
    QTest::keyClick(teacher.canvas().textField(), Qt::Key_Return);
    QTest::keyClick(teacher.canvas().textField(), Qt::Key_Escape);
    QImage photo(160, 80, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    QPainter(&photo).fillRect(10, 10, 40, 40, Qt::magenta);
    teacher.canvas().setImageChooser([&] { return std::optional<QImage>(photo); });
    board.wbacImage();
    stroke(canvas, {at(1200, 700), at(1520, 900)});

    ASSERT_EQ(teacher.canvas().objects().size(), 5u);
    ASSERT_TRUE(waitUntil([&] { return student.canvas().objects().size() == 5; }));
    // The image went to arrow mode and stayed selected on the moderator's side only.
    teacher.canvas().interaction().SetSelectedObject(nullptr);
    const QImage sent = picture(teacher.canvas());
    EXPECT_TRUE(waitUntil([&] { return picture(student.canvas()) == sent; }));
    const auto objects = student.canvas().objects().objects();
    EXPECT_EQ(objects[0]->FTyp, kLine);
    EXPECT_EQ(objects[1]->FTyp, kPencil);
    EXPECT_EQ(objects[2]->FTyp, kFilledOval);
    EXPECT_EQ(objects[3]->FText, "Hello class");
    EXPECT_EQ(objects[4]->FObjectImage.size(), QSize(320, 160));  // 2:1 fitted into 320 x 200
    EXPECT_EQ(objects[4]->FUserID, 101);
}

TEST_F(WhiteboardTogether, MovesReordersDeletionsAndThePointerReachTheAttendee) {
    WhiteboardFeature& board = teacher.board();
    QWidget* canvas = &teacher.canvas();
    board.SelectShapeType(kRectangle);
    stroke(canvas, {at(100, 100), at(300, 300)});
    stroke(canvas, {at(200, 200), at(400, 400)});
    ASSERT_TRUE(waitUntil([&] { return student.canvas().objects().size() == 2; }));

    board.wbacArrow();
    press(canvas, at(150, 150));
    release(canvas, at(150, 150));
    teacher.canvas().interaction().SelectedToFront();
    QTest::keyClick(canvas, Qt::Key_Right);
    EXPECT_TRUE(waitUntil([&] {
        const auto objects = student.canvas().objects().objects();
        return objects.size() == 2 && objects[1]->FObjectID == 1 && objects[1]->FX == 110;
    }));

    board.wbacPointer();
    press(canvas, at(600, 400));
    drag(canvas, at(640, 420));
    EXPECT_TRUE(waitUntil([&] {
        return student.canvas().pointerShown() && student.canvas().pointerPosition() == QPoint(640, 420);
    }));
    release(canvas, at(640, 420));
    EXPECT_TRUE(waitUntil([&] { return !student.canvas().pointerShown(); }));

    board.wbacEraser();
    stroke(canvas, {at(250, 250), at(260, 260)});
    EXPECT_TRUE(waitUntil([&] { return student.canvas().objects().size() == 0; }));
}

TEST_F(WhiteboardTogether, AnAttendeeWithoutPermissionSendsNothing) {
    // The attendee's canvas is read-only, so a drag draws nothing; and were the canvas writable, the
    // controller still sends nothing without the permission.
    WhiteboardFeature& board = student.board();
    board.wbacLine();
    student.canvas().resize(800, 600);
    stroke(&student.canvas(), {at(100, 100), at(500, 500)});
    EXPECT_EQ(student.canvas().objects().size(), 0u);
    student.canvas().SetReadOnly(false);
    stroke(&student.canvas(), {at(100, 100), at(500, 500)});
    ASSERT_EQ(student.canvas().objects().size(), 1u);
    teacher.board().wbacLine();
    stroke(&teacher.canvas(), {at(100, 100), at(700, 300)});
    ASSERT_TRUE(waitUntil([&] { return student.canvas().objects().size() == 2; }));
    EXPECT_EQ(teacher.canvas().objects().size(), 1u);
    for (const auto& r : server.received()) EXPECT_FALSE(r.uid == 102 && r.command == 158);
}

}  // namespace
}  // namespace veltrin::testing
