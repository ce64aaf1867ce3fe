#pragma once

#include <QDateTime>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "classroom/chat/TextChatMenu.h"
#include "wire/TextMessage.h"

namespace veltrin {

class OutgoingCommands;
class UserInterface;

// Message kinds (TTextMessage::MessageType) as the logs know them. Any other code is ignored.
namespace TextKind {
inline constexpr int Public = 0;
inline constexpr int Private = 1;
inline constexpr int Note = 5;  // for the room when ToUID is 0, else private
inline constexpr int SystemError = 10;
inline constexpr int Notification = 11;
}  // namespace TextKind

// Chat permission codes a moderator sets for the room.
namespace ChatStatusCode {
inline constexpr int AllAllowed = 0;
inline constexpr int PublicOnly = 1;
inline constexpr int AllDisabled = 3;
}  // namespace ChatStatusCode

// What the chat asks of the session it belongs to. Main thread only.
class TextChatSession {
public:
    virtual ~TextChatSession() = default;
    // The main connection, or null while there is none (before joining, after the tear-down, in
    // playback): nothing is sent then.
    virtual OutgoingCommands* outgoing() = 0;
    virtual int localUid() const = 0;
    // The own UserTypeID: 0 attendee, 1000 moderator, other non-zero values administrators.
    virtual int localUserType() const = 0;
    virtual bool isPlayback() const = 0;
    // The participant's FullName, or nothing when the uid is not in the list.
    virtual std::optional<std::string> fullNameOf(int uid) const = 0;
    // Off after a kick or a user-initiated disconnect; local lines are dropped then.
    virtual bool showsDisconnectionNotification() const = 0;
};

// What the chat shows. The classroom window implements it; tests record it. Main thread only.
class TextChatDisplay {
public:
    virtual ~TextChatDisplay() = default;
    // The chat log changed (rows added, removed or cleared) or the font size changed.
    virtual void chatLogChanged() = 0;
    virtual void scrollChatToEnd() = 0;
    // A line was added to the chat log: the window blinks its full-screen button while in full screen.
    virtual void chatLineArrived() = 0;
    // The notes log changed: the notes panel, when there is one, reloads and shows its last row.
    virtual void notesLogChanged() = 0;
    virtual void blinkNotesButton() = 0;
    // The chat or notes status changed: captions, icons and enabled states are read again.
    virtual void chatControlsChanged() = 0;
    virtual void showToast(const QString& text, double seconds) = 0;
    // The modal input sheet of a private message or note; nothing when cancelled.
    virtual std::optional<QString> askForText(const QString& prompt) = 0;
};

// The text chat and session notes of one classroom: both logs with their limits, sending public,
// private and note messages, the typing indicator of the chat input, the permissions a moderator
// sets, clearing and the export. The controller forwards its entry points here on the main thread;
// the widgets read the logs and state and forward the user's actions.
class TextChat {
public:
    static constexpr std::size_t kChatLogLimit = 101;
    static constexpr std::size_t kNotesLogLimit = 41;
    static constexpr float kDefaultFontSize = 12.0F;
    static constexpr double kStatusToastSeconds = 1.5;

    TextChat(TextChatSession& session, TextChatDisplay& display, UserInterface& ui);

    // Replaces the clock the time stamps and the export headers read.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    // On every (re)join: both logs empty, font size 12, following the newest line on, not typing.
    void resetForJoin();

    // ---- entry points
    // A received message (commands 130, 131, 162).
    void UpdateTextView(TTextMessage message);
    void AddErrorMessage(const std::string& text);
    void AddNotificationMessage(const std::string& text);
    void SetChatStatus(int code);
    void SetNotesStatus(int code);
    void ClearTextChatLog();

    // ---- user actions
    // Sends the chat input as a public message. Answers whether it went out, so the input is cleared.
    bool acSendTextMessage(const QString& inputText);
    // Type 0 a private text, 1 a note; uid 0 is the whole room.
    void SendPrivateMsg(int type, int toUid);
    void acNewSessionNote() { SendPrivateMsg(1, 0); }
    void removeSessionNote(std::size_t index);
    // The notes access button: enables disabled notes, disables enabled ones.
    void acSetSessionNotesAccess();
    // Asks how to clear (local only, or for everybody when a moderator) and does it.
    void ClearTextMessages();
    // Writes both logs to `path`, or to a file the user picks when there is none. Answers whether
    // the file was written.
    bool SaveTextMessagesToFile(std::optional<QString> path = std::nullopt);
    void ToogleScrollLock();
    void TextMenuIncreaseFont();
    void TextMenuDecreaseFont();

    // The text chat options menu for the local user, and running one of its items.
    std::vector<ChatMenuItem> contextMenu() const { return textChatMenu(session_.localUserType()); }
    void performMenuAction(ChatMenuAction action);

    // ---- the chat input's typing indicator
    // The user changed the input's text (typed, deleted, pasted); programmatic changes are not edits.
    void inputTextEdited(const QString& text);
    // The input lost focus or editing was ended otherwise.
    void inputEditingEnded();

    // ---- state for the widgets
    const std::deque<TTextMessage>& chatLog() const { return chatLog_; }
    const std::deque<TTextMessage>& notesLog() const { return notesLog_; }
    int chatStatus() const { return chatStatus_; }
    int notesStatus() const { return notesStatus_; }
    int currentTypingStatus() const { return typingStatus_; }
    float fontSize() const { return fontSize_; }
    bool scrollsTextChat() const { return scroll_; }

    struct Caption {
        QString text;
        bool red = false;
    };
    Caption chatCaption() const;
    bool chatInputEnabled() const;
    bool notesDisabled() const { return notesStatus_ != 0; }
    QString notesButtonIcon() const;
    QString notesAccessTitle() const;
    bool newNoteEnabled() const { return !notesDisabled(); }

private:
    void addLine(TTextMessage message);
    void addLocalLine(int kind, const std::string& name, const std::string& text);
    void sendTyping(int state);

    TextChatSession& session_;
    TextChatDisplay& display_;
    UserInterface& ui_;
    std::function<QDateTime()> clock_;

    std::deque<TTextMessage> chatLog_;
    std::deque<TTextMessage> notesLog_;
    int chatStatus_ = 0;
    int notesStatus_ = 0;
    int typingStatus_ = 0;
    bool editing_ = false;
    float fontSize_ = kDefaultFontSize;
    bool scroll_ = true;
};

}  // namespace veltrin
