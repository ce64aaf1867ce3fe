#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "classroom/chat/ChatLogModel.h"
#include "classroom/chat/NotesPanel.h"
#include "classroom/chat/TextChatView.h"
#include "tests/classroom/chat/ChatFakes.h"

namespace veltrin::testing {
namespace {

// A chat view in a shown, active window, its display forwarding reloads to the view like the
// classroom window does.
struct ViewFixture : ChatFixture {
    ViewFixture() {
        view.resize(300, 400);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
    }
    void reload() { view.reloadLog(); }

    TextChatView view{chat};
};

QWidget* focused() { return QApplication::focusWidget(); }

TEST(TextChatView, TypingAndReturnSendTheseBytes) {
    ViewFixture f;
    f.view.input()->setFocus();
    QTest::keyClicks(f.view.input(), QStringLiteral("Hi"));
    QTest::keyClick(f.view.input(), Qt::Key_Return);

    // uid 7 (0x07), room index 2: typing 1, the message "Hi\r\n" to everybody, typing 0.
    const Bytes frameTail = {0x07, 0, 0, 0, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Bytes expected;
    auto frame = [&](std::uint8_t id, std::uint8_t size) {
        expected.insert(expected.end(), {id, 0});
        expected.insert(expected.end(), frameTail.begin(), frameTail.end());
        expected.insert(expected.end(), {size, 0, 0, 0, 0, 0});
    };
    frame(151, 4);
    expected.insert(expected.end(), {1, 0, 0, 0});
    frame(130, 29);
    expected.insert(expected.end(), {0x07, 0, 0, 0, /*to*/ 0, 0, 0, 0, /*room*/ 0x02, 0, /*type*/ 0, 0,
                                     /*size*/ 10, 0, /*reserved*/ 0, 0, 0, 0, 'H', 0, 'i', 0, '\r', 0, '\n', 0, 0, 0, 0});
    frame(151, 4);
    expected.insert(expected.end(), {0, 0, 0, 0});
    EXPECT_EQ(f.session.sent.data(), expected);
    EXPECT_TRUE(f.view.input()->text().isEmpty());
    EXPECT_EQ(focused(), f.view.input());
}

TEST(TextChatView, TabReachesAndLeavesTheInputAndEscapeReturnsToTheLog) {
    ViewFixture f;
    f.view.logView()->setFocus();
    for (int i = 0; i < 5 && focused() != f.view.input(); ++i) QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), f.view.input());
    QTest::keyClick(f.view.input(), Qt::Key_Tab);
    EXPECT_NE(focused(), f.view.input());

    f.view.input()->setFocus();
    QTest::keyClick(f.view.input(), Qt::Key_Escape);
    EXPECT_EQ(focused(), f.view.logView());
}

TEST(TextChatView, RowsReadAsNameAndMessage) {
    ViewFixture f;
    f.session.names[3] = "Ann";
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "hello\r\n"));
    f.chat.AddNotificationMessage("Bo joined the session.");
    f.chat.AddErrorMessage("Lost");
    f.reload();
    const QAbstractItemModel* model = f.view.logView()->model();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(0, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Ann: hello"));
    EXPECT_EQ(model->index(0, 0).data(Qt::DisplayRole).toString(), QStringLiteral("Ann: hello"));
    EXPECT_EQ(model->index(1, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Bo joined the session."));
    EXPECT_EQ(model->index(2, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("System Message: Lost"));
    EXPECT_EQ(model->index(2, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(model->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
}

TEST(TextChatView, DisabledChatDisablesAnAttendeesInput) {
    ViewFixture f;
    f.chat.SetChatStatus(ChatStatusCode::AllDisabled);
    f.view.updateControls();
    EXPECT_EQ(f.view.caption()->text(), QStringLiteral("Text Messages (Disabled)"));
    EXPECT_FALSE(f.view.input()->isEnabled());
    EXPECT_FALSE(f.view.sendButton()->isEnabled());
    f.session.userType = 1000;
    f.view.updateControls();
    EXPECT_TRUE(f.view.input()->isEnabled());
}

TEST(TextChatView, ContextMenuItemsRunTheirActions) {
    ViewFixture f;
    f.session.userType = 1000;
    std::unique_ptr<QMenu> menu(f.view.createContextMenu(nullptr));
    EXPECT_EQ(menu->title(), QStringLiteral("Text Chat Contextual Menu"));
    QAction* publicOnly = nullptr;
    QStringList top;
    for (QAction* a : menu->actions()) {
        top << (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (a->menu()) {
            for (QAction* s : a->menu()->actions()) {
                if (s->text() == QStringLiteral("Allow Only Public Messages")) publicOnly = s;
            }
        }
    }
    EXPECT_EQ(top, (QStringList{"Increase Font Size", "Decrease Font Size", "-", "Freeze/Unfreeze Text Chat", "-",
                                "Chat Permissions", "Notes Permissions", "-", "Clear Text Messages",
                                "Export Text Messages"}));
    ASSERT_NE(publicOnly, nullptr);
    publicOnly->trigger();
    menu->actions().at(0)->trigger();
    EXPECT_EQ(f.sent(), (std::vector<std::string>{"129:1"}));
    EXPECT_EQ(f.chat.fontSize(), 13.0F);
}

TEST(TextChatView, ChoosingAReceiverOpensThePrivateSheet) {
    ViewFixture f;
    f.view.setReceivers({{4, QStringLiteral("Bo")}, {5, QStringLiteral("Cy")}});
    f.display.sheetAnswer = QStringLiteral("psst");
    QComboBox* selector = f.view.receiverSelector();
    ASSERT_EQ(selector->count(), 3);
    emit selector->activated(2);
    EXPECT_EQ(f.sent(), (std::vector<std::string>{"131:1>5:psst\r\n"}));
    EXPECT_EQ(selector->currentIndex(), 0);
}

TEST(NotesPanel, RemovesTheSelectedNoteAndAddsNotes) {
    ChatFixture f;
    QWidget window;
    NotesPanel panel(f.chat, &window);
    for (const char* t : {"a", "b"}) f.chat.UpdateTextView(makeMessage(TextKind::Note, 3, 0, t));
    panel.reload();
    ASSERT_EQ(panel.model()->rowCount(), 2);
    panel.notesView()->setCurrentIndex(panel.model()->index(0, 0));
    panel.removeButton()->click();
    panel.reload();
    ASSERT_EQ(f.chat.notesLog().size(), 1U);
    EXPECT_EQ(f.chat.notesLog()[0].Text, "b");

    f.display.sheetAnswer = QStringLiteral("for all");
    panel.newNoteButton()->click();
    EXPECT_EQ(f.sent(), (std::vector<std::string>{"130:5>0:for all\r\n"}));

    f.chat.SetNotesStatus(1);
    panel.updateControls(true);
    EXPECT_FALSE(panel.newNoteButton()->isEnabled());
    EXPECT_EQ(panel.accessButton()->text(), QStringLiteral("Enable Notes"));

    panel.toggle();
    EXPECT_TRUE(panel.isVisible());
    panel.toggle();
    EXPECT_FALSE(panel.isVisible());
}

TEST(ChatRows, PrivateMessagesAndPrivateNotesCarryTheMarker) {
    ChatFixture f;
    f.session.names[3] = "Ann";
    const int me = f.session.uid;
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "to all"));
    f.chat.UpdateTextView(makeMessage(TextKind::Private, 3, me, "just you"));
    f.chat.UpdateTextView(makeMessage(TextKind::Note, 3, 0, "room note"));
    f.chat.UpdateTextView(makeMessage(TextKind::Note, 3, me, "my note"));
    TextChatView view(f.chat);
    QWidget window;
    NotesPanel notes(f.chat, &window);
    view.reloadLog();
    notes.reload();
    struct Row {
        const QAbstractItemModel* model;
        int row;
        bool marked;
        const char* spoken;
    };
    for (const Row& r : {Row{view.logView()->model(), 0, false, "Ann: to all"},
                         Row{view.logView()->model(), 1, true, "(private) Ann: just you"},
                         Row{notes.notesView()->model(), 0, false, "Ann: room note"},
                         Row{notes.notesView()->model(), 1, true, "(private) Ann: my note"}}) {
        const QModelIndex index = r.model->index(r.row, 0);
        EXPECT_EQ(!index.data(Qt::DecorationRole).value<QPixmap>().isNull(), r.marked) << r.spoken;
        EXPECT_EQ(index.data(Qt::AccessibleTextRole).toString(), QString::fromLatin1(r.spoken));
        // The eye reads the same text; the marker says the rest.
        EXPECT_FALSE(index.data(Qt::DisplayRole).toString().startsWith(QStringLiteral("(private)")));
    }
}

TEST(TextChatView, TheOptionsButtonOpensTheMenuForTheCurrentRole) {
    ChatFixture f;
    TextChatView view(f.chat);
    QToolButton* options = view.optionsButton();
    EXPECT_EQ(options->accessibleName(), QStringLiteral("Text chat options"));
    QMenu* menu = options->menu();
    ASSERT_NE(menu, nullptr);
    auto titles = [menu] {
        emit menu->aboutToShow();
        QStringList t;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) t << a->text();
        return t;
    };
    EXPECT_EQ(titles(), (QStringList{"Increase Font Size", "Decrease Font Size", "Freeze/Unfreeze Text Chat",
                                     "Clear Text Messages", "Export Text Messages"}));
    f.session.userType = 1000;
    EXPECT_TRUE(titles().contains(QStringLiteral("Chat Permissions")));
    for (QAction* a : menu->actions())
        if (a->text() == QStringLiteral("Increase Font Size")) a->trigger();
    EXPECT_EQ(f.chat.fontSize(), TextChat::kDefaultFontSize + 1);
    view.setOptionsVisible(false);
    EXPECT_TRUE(options->isHidden());
}

}  // namespace
}  // namespace veltrin::testing
