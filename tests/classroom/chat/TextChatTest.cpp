#include <gtest/gtest.h>

#include "tests/classroom/chat/ChatFakes.h"

namespace veltrin::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(TextChatLimits, OldestEntriesMakeRoomAtEachLogsLimit) {
    struct Case {
        int kind;
        std::size_t limit;
    } const cases[] = {{TextKind::Public, 101}, {TextKind::Note, 41}};
    for (const Case& c : cases) {
        ChatFixture f;
        for (std::size_t i = 0; i <= c.limit; ++i) f.chat.UpdateTextView(makeMessage(c.kind, 3, 0, std::to_string(i)));
        const auto& log = c.kind == TextKind::Note ? f.chat.notesLog() : f.chat.chatLog();
        ASSERT_EQ(log.size(), c.limit) << c.kind;
        EXPECT_EQ(log.front().Text, "1") << c.kind;
        EXPECT_EQ(log.back().Text, std::to_string(c.limit)) << c.kind;
    }
}

TEST(TextChatRouting, EachKindGoesToItsLogAndOthersPrivateNotesAreDropped) {
    struct Case {
        int kind, from, to;
        int chat, notes;
    } const cases[] = {
        {TextKind::Public, 3, 0, 1, 0},       {TextKind::Private, 3, 7, 1, 0},
        {TextKind::SystemError, 0, 0, 1, 0},  {TextKind::Notification, 0, 0, 1, 0},
        {TextKind::Note, 3, 0, 0, 1},         {TextKind::Note, 3, 7, 0, 1},
        {TextKind::Note, 7, 3, 0, 1},         {TextKind::Note, 3, 4, 0, 0},
        {2, 3, 0, 0, 0},                      {99, 3, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ChatFixture f;
        f.chat.UpdateTextView(makeMessage(c.kind, c.from, c.to, "x"));
        EXPECT_EQ(f.chat.chatLog().size(), static_cast<std::size_t>(c.chat)) << c.kind << " " << c.from << ">" << c.to;
        EXPECT_EQ(f.chat.notesLog().size(), static_cast<std::size_t>(c.notes)) << c.kind << " " << c.from << ">" << c.to;
        EXPECT_EQ(f.display.chatLines, c.chat);
        EXPECT_EQ(f.display.notesBlinks, c.notes);
    }
}

TEST(TextChatReceive, EmptyNamesAreFilledFromTheParticipantList) {
    ChatFixture f;
    f.session.names[3] = "Ann Lee";
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "a"));
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 9, 0, "b"));
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "c", "Replayed Name"));
    ASSERT_EQ(f.chat.chatLog().size(), 3U);
    EXPECT_EQ(f.chat.chatLog()[0].NameToUse, "Ann Lee");
    EXPECT_EQ(f.chat.chatLog()[1].NameToUse, "");
    EXPECT_EQ(f.chat.chatLog()[2].NameToUse, "Replayed Name");
    EXPECT_EQ(f.chat.chatLog()[0].TimeToShow, "13:07");
}

TEST(TextChatReceive, FollowingTheNewestLineStopsWhileFrozen) {
    ChatFixture f;
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "a"));
    EXPECT_EQ(f.display.chatScrolls, 1);
    f.chat.performMenuAction(ChatMenuAction::ToggleFreeze);
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "b"));
    EXPECT_FALSE(f.chat.scrollsTextChat());
    EXPECT_EQ(f.display.chatScrolls, 1);
    EXPECT_EQ(f.display.chatReloads, 2);
    f.chat.performMenuAction(ChatMenuAction::ToggleFreeze);  // unfreezing catches up at once
    EXPECT_EQ(f.display.chatScrolls, 2);
}

TEST(TextChatLocalLines, SystemAndNotificationLinesUnlessNoticesAreOff) {
    ChatFixture f;
    f.chat.AddErrorMessage("Broken");
    f.chat.AddNotificationMessage("Ann joined the session.");
    ASSERT_EQ(f.chat.chatLog().size(), 2U);
    EXPECT_EQ(f.chat.chatLog()[0].MessageType, TextKind::SystemError);
    EXPECT_EQ(f.chat.chatLog()[0].NameToUse, "System Message");
    EXPECT_EQ(f.chat.chatLog()[1].MessageType, TextKind::Notification);
    EXPECT_EQ(f.chat.chatLog()[1].NameToUse, "");
    EXPECT_EQ(f.chat.chatLog()[1].FromUID, 0);

    f.session.notices = false;
    f.chat.AddErrorMessage("late");
    f.chat.AddNotificationMessage("late");
    EXPECT_EQ(f.chat.chatLog().size(), 2U);
}

// The chat input's events: "e:text" an edit leaving that text, "end" focus lost, "send:text" Return.
void play(ChatFixture& f, const Strings& events) {
    for (const std::string& e : events) {
        if (e == "end") {
            f.chat.inputEditingEnded();
        } else if (e.starts_with("send:")) {
            f.chat.acSendTextMessage(QString::fromStdString(e.substr(5)));
        } else {
            f.chat.inputTextEdited(QString::fromStdString(e.substr(2)));
        }
    }
}

TEST(TextChatTyping, SequencesOfEditsSendingAndFocus) {
    struct Case {
        const char* name;
        Strings events;
        Strings sent;
        int statusAfter;
    } const cases[] = {
        {"type and delete", {"e:a", "e:"}, {"151:1", "151:0"}, 0},
        {"type again after deleting", {"e:a", "e:", "e:b"}, {"151:1", "151:0", "151:1"}, 1},
        {"more keystrokes say nothing", {"e:a", "e:ab", "e:abc"}, {"151:1"}, 1},
        {"send says 0 once", {"e:h", "e:hi", "send:  hi \n", "end"}, {"151:1", "130:0>0:hi\r\n", "151:0"}, 0},
        {"leaving the field", {"e:h", "end", "end"}, {"151:1", "151:0"}, 0},
        {"focus moves without edits", {"end"}, {}, 0},
        {"blank input is not sent", {"e: ", "send: \t\n"}, {"151:1"}, 1},
    };
    for (const Case& c : cases) {
        ChatFixture f;
        play(f, c.events);
        EXPECT_EQ(f.sent(), c.sent) << c.name;
        EXPECT_EQ(f.chat.currentTypingStatus(), c.statusAfter) << c.name;
    }
}

TEST(TextChatTyping, PlaybackSendsNothing) {
    ChatFixture f;
    f.session.playback = true;
    play(f, {"e:a", "send:a", "end"});
    EXPECT_TRUE(f.sent().empty());
    EXPECT_FALSE(f.chat.chatInputEnabled());
}

TEST(TextChatPermissions, StatusCodesSetCaptionsToastsAndInput) {
    struct Case {
        int code;
        const char* toast;  // nullptr: none
        const char* caption;
        bool red;
        bool attendeeInput;
    } const cases[] = {
        {0, "Text messages were enabled.", "Text Messages", false, true},
        {1, "Private text messages were disabled.", "Text Messages (Public Only)", false, true},
        {3, "Text messages were disabled.", "Text Messages (Disabled)", true, false},
        {2, nullptr, "Text Messages", false, false},
    };
    for (const Case& c : cases) {
        ChatFixture f;
        f.chat.SetChatStatus(c.code);
        EXPECT_EQ(f.chat.chatStatus(), c.code);
        EXPECT_EQ(f.display.controlUpdates, 1);
        EXPECT_EQ(f.display.toasts, c.toast ? QStringList{QString::fromUtf8(c.toast)} : QStringList{}) << c.code;
        if (c.toast) {
            EXPECT_EQ(f.display.toastSeconds.front(), 1.5);
        }
        EXPECT_EQ(f.chat.chatCaption().text, QString::fromUtf8(c.caption));
        EXPECT_EQ(f.chat.chatCaption().red, c.red);
        EXPECT_EQ(f.chat.chatInputEnabled(), c.attendeeInput) << c.code;
        f.session.userType = 1000;
        EXPECT_TRUE(f.chat.chatInputEnabled()) << c.code;
    }
}

TEST(TextChatPermissions, NotesStatusSetsToastsAndControls) {
    ChatFixture f;
    f.chat.SetNotesStatus(1);
    EXPECT_TRUE(f.chat.notesDisabled());
    EXPECT_EQ(f.chat.notesButtonIcon(), QStringLiteral("tbf_48x48_notes_disabled.png"));
    EXPECT_EQ(f.chat.notesAccessTitle(), QStringLiteral("Enable Notes"));
    EXPECT_FALSE(f.chat.newNoteEnabled());
    f.chat.acSetSessionNotesAccess();
    f.chat.SetNotesStatus(0);
    EXPECT_EQ(f.chat.notesButtonIcon(), QStringLiteral("tbf_48x48_note.png"));
    EXPECT_EQ(f.chat.notesAccessTitle(), QStringLiteral("Disable Notes"));
    EXPECT_TRUE(f.chat.newNoteEnabled());
    f.chat.acSetSessionNotesAccess();
    EXPECT_EQ(f.display.toasts,
              (QStringList{QStringLiteral("Session notes were disabled."), QStringLiteral("Session notes were enabled.")}));
    EXPECT_EQ(f.sent(), (Strings{"138:0", "138:1"}));
}

TEST(TextChatPrivate, RefusalsAndSheetsByStatusAndRole) {
    struct Case {
        const char* name;
        int type, toUid, chatStatus, notesStatus, userType;
        std::optional<QString> answer;
        const char* boxText;  // nullptr: the sheet opens
        Strings sent;
    } const cases[] = {
        {"private text", 0, 4, 0, 0, 0, QStringLiteral("psst"), nullptr, {"131:1>4:psst\r\n"}},
        {"public only refuses private text", 0, 4, 1, 0, 0, QStringLiteral("x"),
         "Private texts have been disable by moderator.", {}},
        {"moderators are never refused", 0, 4, 3, 1, 1000, QStringLiteral("x"), nullptr, {"131:1>4:x\r\n"}},
        {"note for the room", 1, 0, 3, 0, 0, QStringLiteral("n"), nullptr, {"130:5>0:n\r\n"}},
        {"disabled notes refuse notes", 1, 4, 0, 1, 0, QStringLiteral("n"),
         "Session notes have been disable by moderator.", {}},
        {"cancel sends nothing", 0, 4, 0, 0, 0, std::nullopt, nullptr, {}},
        {"empty text is sent as typed", 1, 4, 0, 0, 0, QString(), nullptr, {"130:5>4:\r\n"}},
    };
    for (const Case& c : cases) {
        ChatFixture f;
        f.chat.SetChatStatus(c.chatStatus);
        f.chat.SetNotesStatus(c.notesStatus);
        f.session.userType = c.userType;
        f.display.sheetAnswer = c.answer;
        f.chat.SendPrivateMsg(c.type, c.toUid);
        EXPECT_EQ(f.sent(), c.sent) << c.name;
        if (c.boxText) {
            ASSERT_EQ(f.ui.boxes.size(), 1U) << c.name;
            EXPECT_EQ(f.ui.boxes[0].text, QString::fromUtf8(c.boxText));
            EXPECT_EQ(f.ui.boxes[0].title, c.type == 1 ? QStringLiteral("Session Notes Unavailable")
                                                       : QStringLiteral("Private Chat Unavailable"));
            EXPECT_EQ(f.ui.boxes[0].buttons, QStringList{QStringLiteral("OK")});
            EXPECT_TRUE(f.display.prompts.isEmpty());
        } else {
            EXPECT_TRUE(f.ui.boxes.empty()) << c.name;
            EXPECT_EQ(f.display.prompts, QStringList{c.type == 1 ? QStringLiteral("Please enter your session note text below.")
                                                                 : QStringLiteral("Please enter your private message below.")});
        }
    }
}

TEST(TextChatClearing, ModeratorChoicesAndAttendeeConfirmation) {
    struct Case {
        int userType, answer;
        bool cleared;
        Strings sent;
    } const cases[] = {
        {1000, 0, true, {}},  {1000, 1, false, {}}, {1000, 2, false, {"163"}},
        {0, 0, true, {}},     {0, 1, false, {}},
    };
    for (const Case& c : cases) {
        ChatFixture f;
        f.session.userType = c.userType;
        f.ui.answer = c.answer;
        f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "a"));
        f.chat.UpdateTextView(makeMessage(TextKind::Note, 3, 0, "n"));
        f.chat.performMenuAction(ChatMenuAction::ClearMessages);
        ASSERT_EQ(f.ui.boxes.size(), 1U);
        EXPECT_EQ(f.ui.boxes[0].title, QStringLiteral("Clear Text Messages"));
        if (c.userType >= 1000) {
            EXPECT_EQ(f.ui.boxes[0].text, QStringLiteral("You are about to clear the text messages.\nClick Local Only to "
                                                         "clear only your local log.\nClick Clear All to clear the "
                                                         "messages for all attendees."));
            EXPECT_EQ(f.ui.boxes[0].buttons, (QStringList{QStringLiteral("Local Only"), QStringLiteral("Cancel"),
                                                          QStringLiteral("Clear All")}));
        } else {
            EXPECT_EQ(f.ui.boxes[0].text, QStringLiteral("You are about to clear the text messages. Please, confirm."));
            EXPECT_EQ(f.ui.boxes[0].buttons, (QStringList{QStringLiteral("Clear"), QStringLiteral("Cancel")}));
        }
        EXPECT_EQ(f.chat.chatLog().empty(), c.cleared) << c.userType << "/" << c.answer;
        EXPECT_EQ(f.chat.notesLog().size(), 1U);
        EXPECT_EQ(f.sent(), c.sent);
    }
}

TEST(TextChatClearing, ServerClearEmptiesOnlyTheChatLog) {
    ChatFixture f;
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "a"));
    f.chat.UpdateTextView(makeMessage(TextKind::Note, 3, 0, "n"));
    f.chat.ClearTextChatLog();
    EXPECT_TRUE(f.chat.chatLog().empty());
    EXPECT_EQ(f.chat.notesLog().size(), 1U);
}

std::vector<QString> titles(const std::vector<ChatMenuItem>& items) {
    std::vector<QString> out;
    for (const ChatMenuItem& i : items) {
        out.push_back(i.isSeparator() ? QStringLiteral("-") : i.title);
        for (const ChatMenuItem& s : i.submenu) out.push_back(QStringLiteral("  ") + s.title);
    }
    return out;
}

TEST(TextChatMenu, ItemsForAttendeesAndModerators) {
    const std::vector<QString> attendee{"Increase Font Size", "Decrease Font Size", "-", "Freeze/Unfreeze Text Chat",
                                        "-", "Clear Text Messages", "Export Text Messages"};
    EXPECT_EQ(titles(textChatMenu(0)), attendee);
    EXPECT_EQ(titles(textChatMenu(999)), attendee);
    const std::vector<QString> moderator{
        "Increase Font Size", "Decrease Font Size", "-", "Freeze/Unfreeze Text Chat", "-", "Chat Permissions",
        "  Allow All Text Messages", "  Disable All Text Messages", "  Allow Only Public Messages",
        "Notes Permissions", "  Enable Notes", "  Disable Notes", "-", "Clear Text Messages", "Export Text Messages"};
    EXPECT_EQ(titles(textChatMenu(1000)), moderator);
}

TEST(TextChatMenu, PermissionItemsSendTheirCodes) {
    ChatFixture f;
    f.session.userType = 1000;
    for (ChatMenuAction a : {ChatMenuAction::AllowAllMessages, ChatMenuAction::DisableAllMessages,
                             ChatMenuAction::AllowPublicOnly, ChatMenuAction::EnableNotes, ChatMenuAction::DisableNotes}) {
        f.chat.performMenuAction(a);
    }
    EXPECT_EQ(f.sent(), (Strings{"129:0", "129:3", "129:1", "138:0", "138:1"}));
}

TEST(TextChatMenu, FontStepsReloadAndRejoinRestoresDefaults) {
    ChatFixture f;
    f.chat.performMenuAction(ChatMenuAction::IncreaseFont);
    f.chat.performMenuAction(ChatMenuAction::IncreaseFont);
    EXPECT_EQ(f.chat.fontSize(), 14.0F);
    for (int i = 0; i < 20; ++i) f.chat.performMenuAction(ChatMenuAction::DecreaseFont);
    EXPECT_EQ(f.chat.fontSize(), 1.0F);  // never below a visible size
    EXPECT_EQ(f.display.chatReloads, 22);

    f.chat.performMenuAction(ChatMenuAction::ToggleFreeze);
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "a"));
    f.chat.UpdateTextView(makeMessage(TextKind::Note, 3, 0, "n"));
    f.chat.resetForJoin();
    EXPECT_TRUE(f.chat.chatLog().empty());
    EXPECT_TRUE(f.chat.notesLog().empty());
    EXPECT_EQ(f.chat.fontSize(), 12.0F);
    EXPECT_TRUE(f.chat.scrollsTextChat());
}

TEST(TextChatNotes, RemovingANoteTouchesOnlyTheLocalLog) {
    ChatFixture f;
    for (const char* t : {"a", "b", "c"}) f.chat.UpdateTextView(makeMessage(TextKind::Note, 3, 0, t));
    f.chat.removeSessionNote(1);
    f.chat.removeSessionNote(7);
    ASSERT_EQ(f.chat.notesLog().size(), 2U);
    EXPECT_EQ(f.chat.notesLog()[0].Text, "a");
    EXPECT_EQ(f.chat.notesLog()[1].Text, "c");
    EXPECT_TRUE(f.sent().empty());
}

}  // namespace
}  // namespace veltrin::testing
