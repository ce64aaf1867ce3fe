// The whiteboard set of real classroom controllers in one process against the reference server:
// boards made by the moderator, what a late joiner finds, and the board commands every client must
// follow. Boards are compared as the PDF export would draw them, independent of window sizes.

#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

#include "app/core/MenuRules.h"
#include "app/core/Resources.h"
#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "classroom/whiteboard/BoardControlsBar.h"
#include "classroom/whiteboard/WhiteboardFeature.h"
#include "tests/classroom/FakeShell.h"
#include "tests/classroom/JoinDemoRoom.h"
#include "tests/support/ServerProcess.h"
#include "tests/whiteboard/CanvasTestSupport.h"
#include "whiteboard/TActivePaintBox.h"
#include "whiteboard/boards/BoardPdfExport.h"

namespace veltrin::testing {
namespace {

using namespace wb;
using wb::testing::drag;
using wb::testing::press;
using wb::testing::release;

constexpr char kRooms[] =
    "account teacher teacher 1000 \"Terry Teacher\" uid=101\n"
    "account student1 student1 0 \"Sam Student\" uid=102\n"
    "account student2 student2 0 \"Kim Latecomer\" uid=103\n"
    "room 1001 \"Demo Classroom\" mikes=2\n";

struct Person {
    FakeShell shell;
    std::unique_ptr<ClassroomViewController> controller;
    WhiteboardFeature& board() { return *controller->whiteboard(); }
    BoardSet& boards() { return board().boards(); }
    TActivePaintBox& canvas() { return *board().canvas(); }
    QImage page() { return BoardPdfExport::renderPage(boards().board(), boards().objects()); }
    std::vector<BoardList::Item> items() { return boards().list().items(); }
};

// Four quadrants, so that any turn of the background shows.
QImage quadrants(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return image;
}

class BoardSetTogether : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(1, {QStringLiteral("--rooms"), writeTempFile(QString::fromLatin1(kRooms))}))
            << server.error().toStdString();
        join(teacher, "teacher");
        join(student, "student1");
        ASSERT_TRUE(waitUntil([&] { return !teacher.canvas().ReadOnly(); }));
        ASSERT_TRUE(shown(teacher, 1) && shown(student, 1));
    }
    void TearDown() override {
        for (Person* p : {&teacher, &student, &late}) p->controller.reset();
        waitForRetiredLinks(10000);
    }
    void join(Person& p, const char* user) {
        p.controller = joinDemoRoom(p.shell, server.port(), user);
        ASSERT_TRUE(waitUntil([&] { return p.controller->isJoined() && p.controller->whiteboard()->canvas(); }));
    }
    // The board has arrived whole and is the one shown.
    static bool shown(Person& p, std::int32_t index) {
        return waitUntil([&] {
            return p.board().displayCount() > 0 && p.board().MyBoardIndex() == index &&
                   p.boards().board().Index == index && p.boards().board().BoardLoaded;
        });
    }
    // Board 2: a 400 x 300 picture, made by the moderator; everybody is moved onto it.
    void createPictureBoard() {
        ASSERT_TRUE(teacher.board().acWhiteboardCreate({"Lesson", 0, 0, Qt::white, quadrants(400, 300)}));
        ASSERT_TRUE(shown(teacher, 2) && shown(student, 2));
        // 400 x 300 fitted into 800 x 600: two view points per board unit.
        teacher.canvas().resize(800, 600);
    }
    void stroke(std::initializer_list<QPointF> boardPoints) {
        QWidget* w = &teacher.canvas();
        auto it = boardPoints.begin();
        press(w, *it * 2);
        for (++it; it != boardPoints.end(); ++it) drag(w, *it * 2);
        release(w, *(boardPoints.end() - 1) * 2);
    }

    ServerProcess server;
    Person teacher;
    Person student;
    Person late;
};

TEST_F(BoardSetTogether, ALateJoinerFindsTheSameBoardsTheActiveOneAndItsContent) {
    createPictureBoard();
    EXPECT_EQ(teacher.boards().board().Title, "Lesson");
    EXPECT_EQ(QSize(teacher.boards().board().OriginalW, teacher.boards().board().OriginalH), QSize(400, 300));
    teacher.board().wbacLine();
    stroke({{20, 20}, {380, 280}});
    teacher.board().SelectShapeType(kFilledOval);
    stroke({{250, 40}, {350, 120}});
    teacher.canvas().interaction().SetSelectedObject(nullptr);
    ASSERT_EQ(teacher.boards().objects().size(), 2u);
    ASSERT_TRUE(waitUntil([&] { return student.boards().objects().size() == 2; }));

    join(late, "student2");
    ASSERT_TRUE(shown(late, 2));
    ASSERT_TRUE(waitUntil([&] { return late.boards().objects().size() == 2; }));
    EXPECT_EQ(late.items(), teacher.items());
    ASSERT_EQ(late.items().size(), 2u);
    EXPECT_EQ(late.items()[1].title, "Lesson (2)");
    EXPECT_EQ(late.board().controls()->selector()->currentData().toInt(), 2);
    const QImage expectedPage = teacher.page();
    EXPECT_EQ(late.page(), expectedPage);
    EXPECT_EQ(student.page(), expectedPage);
    // The picture itself came along: the bottom-left quarter of the page is the blue one.
    const QColor bottomLeft = expectedPage.pixelColor(100, 600);
    EXPECT_TRUE(bottomLeft.blue() > 200 && bottomLeft.red() < 60) << bottomLeft.name().toStdString();
}

TEST_F(BoardSetTogether, SwitchingClearingRotatingAndRemovingReachEveryone) {
    createPictureBoard();
    WhiteboardFeature& board = teacher.board();
    RecordingUi& alerts = teacher.shell.ui;

    // Switching: the selector asks the server, and everybody (the chooser too) moves when it answers.
    board.WBComboChanged(1);
    ASSERT_TRUE(shown(teacher, 1) && shown(student, 1));
    EXPECT_EQ(student.boards().board().OriginalW, 1024);
    board.WBComboChanged(2);
    ASSERT_TRUE(shown(teacher, 2) && shown(student, 2));
    EXPECT_EQ(student.boards().board().Title, "Lesson");

    // Clearing: confirmed with the first button; the moderator erases at once, the others on 80.
    board.wbacLine();
    stroke({{20, 20}, {380, 280}});
    ASSERT_TRUE(waitUntil([&] { return student.boards().objects().size() == 1; }));
    alerts.answer = 1;  // "No"
    board.wbacRemoveMarkup();
    EXPECT_EQ(teacher.boards().objects().size(), 1u);
    alerts.answer = 0;
    board.wbacRemoveMarkup();
    EXPECT_EQ(teacher.boards().objects().size(), 0u);
    EXPECT_TRUE(waitUntil([&] { return student.boards().objects().size() == 0; }));
    ASSERT_EQ(alerts.boxes.size(), 2u);
    EXPECT_EQ(alerts.boxes[0].title, QStringLiteral("Remove markup and objects?"));
    EXPECT_EQ(alerts.boxes[0].buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));

    // Hiding the markup reaches the attendee's canvas and markup button.
    board.acwbToggleMarkup();
    EXPECT_FALSE(teacher.boards().board().FMarkupVisible);
    EXPECT_TRUE(waitUntil([&] { return !student.canvas().appearance().markupVisible; }));
    EXPECT_EQ(student.board().controls()->markupImage(), QStringLiteral("tbwb_28x28_markup_hidden.png"));
    board.acwbToggleMarkup();
    EXPECT_TRUE(waitUntil([&] { return student.canvas().appearance().markupVisible; }));

    // Rotating: nothing changes until the server's 165 turns everybody's background.
    const QImage before = student.page();
    teacher.board().controls()->rotateRightButton()->click();
    auto turned = [](Person& p) {
        const BoardState& b = p.boards().board();
        return b.rotationIndex() == 1 && b.OriginalW == 300 && b.OriginalH == 400 &&
               p.canvas().appearance().originalW == 300;
    };
    ASSERT_TRUE(waitUntil([&] { return turned(teacher) && turned(student); }));
    EXPECT_NE(student.page(), before);
    EXPECT_EQ(student.page(), teacher.page());
    board.acWBRotate(-1);
    ASSERT_TRUE(waitUntil([&] { return student.boards().board().rotationIndex() == 0; }));
    EXPECT_EQ(student.page(), before);

    // Removing: the default board is refused; this one goes for everybody, who move to board 1.
    alerts.boxes.clear();
    board.wbacRemoveWhiteboard();
    ASSERT_TRUE(shown(teacher, 1) && shown(student, 1));
    ASSERT_TRUE(waitUntil([&] { return student.items().size() == 1 && teacher.items().size() == 1; }));
    EXPECT_EQ(student.board().controls()->selector()->count(), 1);
    board.wbacRemoveWhiteboard();
    ASSERT_EQ(alerts.titles(),
              (QStringList{QStringLiteral("Remove whiteboard?"), QStringLiteral("Action not possible.")}));

    // Removing all: two more boards, then only board 1 is left anywhere.
    ASSERT_TRUE(board.acWhiteboardCreate({"Two", 640, 480, Qt::cyan, {}}));
    ASSERT_TRUE(waitUntil([&] { return student.items().size() == 2; }));
    ASSERT_TRUE(board.acWhiteboardCreate({"Three", 640, 480, Qt::cyan, {}}));
    ASSERT_TRUE(waitUntil([&] { return student.items().size() == 3 && student.board().MyBoardIndex() > 2; }));
    teacher.controller->performMenuCommand(MenuTag::RemoveAllWhiteboards);
    ASSERT_TRUE(shown(teacher, 1) && shown(student, 1));
    EXPECT_TRUE(waitUntil([&] { return student.items().size() == 1 && teacher.items().size() == 1; }));
    EXPECT_EQ(alerts.boxes.back().title, QStringLiteral("Remove all whiteboards?"));
}

TEST_F(BoardSetTogether, TheNewBoardSheetAndTheClipArtWindowPutPicturesOnBoards) {
    WhiteboardFeature& board = teacher.board();
    board.wbacNewWhiteboard();
    NewWhiteboardPanel* panel = board.newWhiteboardPanel();
    ASSERT_NE(panel, nullptr);
    panel->setImageTab(true);
    panel->chooseTemplate(2);
    ASSERT_FALSE(panel->preview().isNull());
    const QSize templateSize = panel->preview().size();
    QPushButton* create = nullptr;
    for (QAbstractButton* b : panel->findChild<QDialogButtonBox*>()->buttons())
        if (b->text() == QStringLiteral("Create")) create = qobject_cast<QPushButton*>(b);
    ASSERT_NE(create, nullptr);
    create->click();
    ASSERT_TRUE(shown(teacher, 2) && shown(student, 2));
    const BoardState& made = student.boards().board();
    EXPECT_TRUE(made.FHasBgImage);
    EXPECT_EQ(QSize(made.OriginalW, made.OriginalH), templateSize);
    EXPECT_TRUE(waitUntil([&] { return board.newWhiteboardPanel() == nullptr; }));

    board.wbacClipart();
    ASSERT_TRUE(board.clipArtWindow() && board.clipArtWindow()->isVisible());
    ClipArtPicker& picker = *board.clipArtPicker();
    picker.setCategory(3);
    emit picker.pictureList()->itemActivated(picker.pictureList()->item(0));
    emit picker.pictureList()->itemActivated(picker.pictureList()->item(1));
    ASSERT_TRUE(waitUntil([&] { return student.boards().objects().size() == 2; }));
    const auto objects = student.boards().objects().objects();
    const QImage first(resourcePath(ResourceFolder::ClipArt, ClipArtPicker::pictureName(3, 1)));
    EXPECT_EQ(objects[0]->FObjectImage.convertToFormat(QImage::Format_ARGB32),
              first.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(QPoint(objects[0]->FX, objects[0]->FY), QPoint(10, 10));
    // The second goes just right of the first, which was selected when it was placed.
    EXPECT_EQ(QPoint(objects[1]->FX, objects[1]->FY), QPoint(objects[0]->FX2 + 5, 10));
    board.wbacClipart();
    EXPECT_FALSE(board.clipArtWindow()->isVisible());
}

}  // namespace
}  // namespace veltrin::testing
