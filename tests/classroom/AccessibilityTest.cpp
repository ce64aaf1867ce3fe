// The classroom window through the keyboard and the accessibility interfaces, as a screen-reader
// user meets it: a moderator on the reference server, its window shown, with an attendee running
// the real client who greets the room on arrival.

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "classroom/chat/NotesPanel.h"
#include "classroom/chat/TextChat.h"
#include "classroom/chat/TextChatView.h"
#include "classroom/participants/ParticipantListModel.h"
#include "classroom/participants/ParticipantListPanel.h"
#include "classroom/participants/ParticipantListView.h"
#include "tests/classroom/FakeShell.h"
#include "tests/classroom/JoinDemoRoom.h"
#include "tests/support/ClientProcess.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestRooms.h"

namespace veltrin::testing {
namespace {

QString accessibleName(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

QWidget* focused() { return QApplication::focusWidget(); }

class Accessibility : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start(1, {QStringLiteral("--rooms"), writeTempFile(QString::fromLatin1(kTestRooms))}))
            << server.error().toStdString();
        teacher = join(teacherShell, "teacher");
        student.setEnvironment(QStringLiteral("VELTRIN_AUTOMATION_SAY"), QStringLiteral("good morning"));
        ASSERT_TRUE(student.start({QStringLiteral("vcc8join://127.0.0.1:%1/student1/student1/1001").arg(server.port())}));
        ASSERT_TRUE(waitUntil([&] { return teacher->participants().users().size() == 2; }, std::chrono::seconds(20)))
            << student.log().toStdString();
        QWidget* window = teacher->view();
        window->resize(1200, 800);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    void TearDown() override {
        student.stop();
        teacher.reset();
        waitForRetiredLinks(10000);
    }

    std::unique_ptr<ClassroomViewController> join(FakeShell& shell, const char* user) {
        return joinDemoRoom(shell, server.port(), user);
    }

    // Presses Tab until `target` has the focus; false when the focus comes back round without
    // reaching it (a trap, or a control outside the chain).
    bool tabTo(QWidget* target) {
        QWidget* start = focused();
        for (int i = 0; i < 80; ++i) {
            if (focused() == target) return true;
            QTest::keyClick(focused() != nullptr ? focused() : teacher->view(), Qt::Key_Tab);
            if (i > 0 && focused() == start) return focused() == target;
        }
        return focused() == target;
    }

    ServerProcess server;
    FakeShell teacherShell;
    std::unique_ptr<ClassroomViewController> teacher;
    ClientProcess student;
};

TEST_F(Accessibility, EveryControlHasAName) {
    QWidget* window = teacher->view();
    QStringList unnamed;
    int checked = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        if (qobject_cast<QAbstractButton*>(w) == nullptr && qobject_cast<QLabel*>(w) == nullptr &&
            qobject_cast<QLineEdit*>(w) == nullptr && qobject_cast<QComboBox*>(w) == nullptr &&
            qobject_cast<QAbstractItemView*>(w) == nullptr && qobject_cast<QToolBar*>(w) == nullptr)
            continue;
        // A tool bar's own extension arrow is Qt's, and named by Qt.
        if (w->objectName() == QLatin1String("qt_toolbar_ext_button")) continue;
        ++checked;
        if (accessibleName(w).trimmed().isEmpty())
            unnamed << QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
    }
    EXPECT_GT(checked, 20);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral(", ")).toStdString();

    // Buttons that show only a picture are named too.
    QToolButton* sort = teacher->sidePanel().listPanel()->sortButton();
    EXPECT_TRUE(sort->text().isEmpty() || sort->toolButtonStyle() == Qt::ToolButtonIconOnly);
    EXPECT_EQ(accessibleName(sort), QStringLiteral("Attendees Sorting Option"));
    EXPECT_EQ(accessibleName(teacher->classroomView()->button(ClassroomControl::Close)), QStringLiteral("Exit the session"));
}

TEST_F(Accessibility, RowsReadTheirTextThroughTheAccessibleInterface) {
    auto greeted = [&] {
        for (const TTextMessage& m : teacher->sidePanel().chat().chatLog())
            if (m.Text.find("good morning") != std::string::npos) return true;
        return false;
    };
    ASSERT_TRUE(waitUntil(greeted, std::chrono::seconds(20))) << student.log().toStdString();

    auto rowNames = [](QAbstractItemView* view) {
        QStringList names;
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
        for (int i = 0; list != nullptr && i < list->childCount(); ++i) {
            QAccessibleInterface* child = list->child(i);
            if (child != nullptr && child->role() != QAccessible::ColumnHeader && child->role() != QAccessible::RowHeader)
                names << child->text(QAccessible::Name);
        }
        return names;
    };
    // Name, role and state in words, as the rows' accessible text gives them.
    const QStringList people = rowNames(teacher->sidePanel().listView());
    ASSERT_EQ(people.size(), 2) << people.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(people.filter(QRegularExpression(QStringLiteral("^Terry Teacher, \\(You\\) Moderator, microphone"))).size(), 1)
        << people.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(people.filter(QRegularExpression(QStringLiteral("^Sam Student, microphone"))).size(), 1)
        << people.join(QStringLiteral(" | ")).toStdString();
    const QStringList lines = rowNames(teacher->sidePanel().chatView()->logView());
    EXPECT_TRUE(lines.contains(QStringLiteral("Sam Student: good morning"))) << lines.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Sam Student joined the session.")))
        << lines.join(QStringLiteral(" | ")).toStdString();
}

TEST_F(Accessibility, TabReachesTheChatInputAndReturnSends) {
    QLineEdit* input = teacher->sidePanel().chatView()->input();
    teacher->classroomView()->button(ClassroomControl::WhiteboardView)->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(tabTo(input)) << "focus stuck on " << (focused() ? focused()->metaObject()->className() : "nothing");
    QTest::keyClicks(input, QStringLiteral("typed without a mouse"));
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_TRUE(input->text().isEmpty());
    auto arrived = [](ClassroomViewController& c) {
        for (const TTextMessage& m : c.sidePanel().chat().chatLog())
            if (m.Text.find("typed without a mouse") != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(waitUntil([&] { return arrived(*teacher); }));
    EXPECT_TRUE(waitUntil([&] {
        return student.logContains(QStringLiteral("automation: chat Terry Teacher: typed without a mouse"));
    })) << student.log().toStdString();

    // Tab leaves the input again and comes back round: no trap anywhere in the chain.
    QTest::keyClick(input, Qt::Key_Tab);
    EXPECT_NE(focused(), input);
    EXPECT_TRUE(tabTo(input));
}

TEST_F(Accessibility, TheKeyboardOpensAParticipantsMenu) {
    ParticipantListView* list = teacher->sidePanel().listView();
    teacher->classroomView()->button(ClassroomControl::WhiteboardView)->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(tabTo(list));
    const auto* rows = static_cast<const ParticipantListModel*>(list->model());
    for (int i = 0; i < 4 && !(list->currentIndex().isValid() &&
                               list->currentIndex().data(ParticipantListModel::UidRole).toInt() == 102);
         ++i)
        QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex().row(), rows->rowOfUid(102));

    for (const auto& [key, modifiers] :
         std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{{Qt::Key_F10, Qt::ShiftModifier}, {Qt::Key_Menu, {}}}) {
        QTest::keyClick(list, key, modifiers);
        ASSERT_TRUE(waitUntil([] { return QApplication::activePopupWidget() != nullptr; }, std::chrono::seconds(2)));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), QStringLiteral("User Item Contextual Menu"));
        QStringList items;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) items << a->text();
        EXPECT_TRUE(items.contains(QStringLiteral("Promote to Moderator"))) << items.join(QStringLiteral(", ")).toStdString();
        QTest::keyClick(menu, Qt::Key_Escape);
        EXPECT_TRUE(waitUntil([] { return QApplication::activePopupWidget() == nullptr; }, std::chrono::seconds(2)));
    }
}

}  // namespace
}  // namespace veltrin::testing
