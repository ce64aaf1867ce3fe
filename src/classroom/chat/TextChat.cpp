#include "classroom/chat/TextChat.h"

#include <QStringList>

#include <algorithm>

#include "app/core/UserInterface.h"
#include "classroom/chat/TextChatExport.h"
#include "session/OutgoingCommands.h"

namespace veltrin {

namespace {

constexpr int kClearTextMessagesCommand = 163;
// Font steps have no upper bound; below one point the text would vanish and Qt rejects the size.
constexpr float kMinimumFontSize = 1.0F;

void appendBounded(std::deque<TTextMessage>& log, TTextMessage message, std::size_t limit) {
    while (log.size() >= limit) log.pop_front();
    log.push_back(std::move(message));
}

bool isModerator(int userType) { return userType >= 1000; }

}  // namespace

TextChat::TextChat(TextChatSession& session, TextChatDisplay& display, UserInterface& ui)
    : session_(session), display_(display), ui_(ui), clock_([] { return QDateTime::currentDateTime(); }) {}

void TextChat::resetForJoin() {
    chatLog_.clear();
    notesLog_.clear();
    fontSize_ = kDefaultFontSize;
    scroll_ = true;
    typingStatus_ = 0;
    editing_ = false;
    display_.chatLogChanged();
    display_.notesLogChanged();
}

// ---- receiving and local lines

void TextChat::UpdateTextView(TTextMessage message) {
    if (message.NameToUse.empty()) {
        if (auto name = session_.fullNameOf(message.FromUID)) message.NameToUse = std::move(*name);
    }
    addLine(std::move(message));
}

void TextChat::addLine(TTextMessage message) {
    if (message.TimeToShow.empty()) message.TimeToShow = clock_().toString(QStringLiteral("hh:mm")).toStdString();
    switch (message.MessageType) {
    case TextKind::Public:
    case TextKind::Private:
    case TextKind::SystemError:
    case TextKind::Notification:
        appendBounded(chatLog_, std::move(message), kChatLogLimit);
        display_.chatLogChanged();
        if (scroll_) display_.scrollChatToEnd();
        display_.chatLineArrived();
        return;
    case TextKind::Note: {
        const int me = session_.localUid();
        // Private notes between two other participants are not ours to keep.
        if (message.ToUID != 0 && message.ToUID != me && message.FromUID != me) return;
        appendBounded(notesLog_, std::move(message), kNotesLogLimit);
        display_.notesLogChanged();
        display_.blinkNotesButton();
        return;
    }
    default:
        return;
    }
}

void TextChat::addLocalLine(int kind, const std::string& name, const std::string& text) {
    if (!session_.showsDisconnectionNotification()) return;
    TTextMessage line;
    line.MessageType = kind;
    line.NameToUse = name;
    line.Text = text;
    addLine(std::move(line));
}

void TextChat::AddErrorMessage(const std::string& text) { addLocalLine(TextKind::SystemError, "System Message", text); }

void TextChat::AddNotificationMessage(const std::string& text) { addLocalLine(TextKind::Notification, {}, text); }

void TextChat::ClearTextChatLog() {
    chatLog_.clear();
    display_.chatLogChanged();
}

// ---- permissions

void TextChat::SetChatStatus(int code) {
    chatStatus_ = code;
    display_.chatControlsChanged();
    switch (code) {
    case ChatStatusCode::AllAllowed:
        display_.showToast(QStringLiteral("Text messages were enabled."), kStatusToastSeconds);
        break;
    case ChatStatusCode::PublicOnly:
        display_.showToast(QStringLiteral("Private text messages were disabled."), kStatusToastSeconds);
        break;
    case ChatStatusCode::AllDisabled:
        display_.showToast(QStringLiteral("Text messages were disabled."), kStatusToastSeconds);
        break;
    default:
        break;
    }
}

void TextChat::SetNotesStatus(int code) {
    notesStatus_ = code;
    display_.chatControlsChanged();
    display_.showToast(code != 0 ? QStringLiteral("Session notes were disabled.")
                                 : QStringLiteral("Session notes were enabled."),
                       kStatusToastSeconds);
}

TextChat::Caption TextChat::chatCaption() const {
    switch (chatStatus_) {
    case ChatStatusCode::AllDisabled:
        return {QStringLiteral("Text Messages (Disabled)"), true};
    case ChatStatusCode::PublicOnly:
        return {QStringLiteral("Text Messages (Public Only)"), false};
    default:
        return {QStringLiteral("Text Messages"), false};
    }
}

bool TextChat::chatInputEnabled() const {
    if (session_.isPlayback()) return false;
    return chatStatus_ == ChatStatusCode::AllAllowed || chatStatus_ == ChatStatusCode::PublicOnly ||
           session_.localUserType() > 0;
}

QString TextChat::notesButtonIcon() const {
    return notesDisabled() ? QStringLiteral("tbf_48x48_notes_disabled.png") : QStringLiteral("tbf_48x48_note.png");
}

QString TextChat::notesAccessTitle() const {
    return notesDisabled() ? QStringLiteral("Enable Notes") : QStringLiteral("Disable Notes");
}

void TextChat::acSetSessionNotesAccess() {
    if (OutgoingCommands* out = session_.outgoing()) out->send_SetNotesPermissions(notesDisabled() ? 0 : 1);
}

// ---- sending

bool TextChat::acSendTextMessage(const QString& inputText) {
    if (session_.isPlayback()) return false;
    const QString text = inputText.trimmed();
    if (text.isEmpty()) return false;
    OutgoingCommands* out = session_.outgoing();
    if (out == nullptr) return false;
    out->send_TextMessage(text.toStdString(), 0, TextKind::Public);
    // Sending ends this round of editing: the next keystroke announces typing afresh.
    editing_ = false;
    sendTyping(0);
    return true;
}

void TextChat::SendPrivateMsg(int type, int toUid) {
    const bool note = type == 1;
    const bool restricted = session_.localUserType() < 1;
    QString prompt;
    if (note) {
        if (notesStatus_ != 0 && restricted) {
            ui_.showMessage(QStringLiteral("Session Notes Unavailable"),
                            QStringLiteral("Session notes have been disable by moderator."), {QStringLiteral("OK")},
                            MessageStyle::Warning);
            return;
        }
        prompt = QStringLiteral("Please enter your session note text below.");
    } else {
        if (chatStatus_ != 0 && restricted) {
            ui_.showMessage(QStringLiteral("Private Chat Unavailable"),
                            QStringLiteral("Private texts have been disable by moderator."), {QStringLiteral("OK")},
                            MessageStyle::Warning);
            return;
        }
        prompt = QStringLiteral("Please enter your private message below.");
    }
    const std::optional<QString> text = display_.askForText(prompt);
    if (!text || toUid < 0) return;
    if (OutgoingCommands* out = session_.outgoing()) {
        out->send_TextMessage(text->toStdString(), toUid, note ? TextKind::Note : TextKind::Private);
    }
}

void TextChat::removeSessionNote(std::size_t index) {
    if (index >= notesLog_.size()) return;
    notesLog_.erase(notesLog_.begin() + static_cast<std::ptrdiff_t>(index));
    display_.notesLogChanged();
}

// ---- typing indicator

void TextChat::sendTyping(int state) {
    typingStatus_ = state;
    if (OutgoingCommands* out = session_.outgoing()) out->send_TypingNotification(state);
}

void TextChat::inputTextEdited(const QString& text) {
    if (session_.isPlayback()) return;
    if (!editing_) {
        editing_ = true;
        sendTyping(1);
    }
    if (!text.isEmpty() && typingStatus_ == 0) {
        sendTyping(1);
    } else if (text.isEmpty() && typingStatus_ == 1) {
        sendTyping(0);
    }
}

void TextChat::inputEditingEnded() {
    if (!editing_) return;
    editing_ = false;
    sendTyping(0);
}

// ---- clearing, export and the options menu

void TextChat::ClearTextMessages() {
    const QString title = QStringLiteral("Clear Text Messages");
    if (isModerator(session_.localUserType())) {
        const int choice = ui_.showMessage(
            title,
            QStringLiteral("You are about to clear the text messages.\nClick Local Only to clear only your local "
                           "log.\nClick Clear All to clear the messages for all attendees."),
            {QStringLiteral("Local Only"), QStringLiteral("Cancel"), QStringLiteral("Clear All")},
            MessageStyle::Warning);
        if (choice == 0) {
            ClearTextChatLog();
        } else if (choice == 2) {
            // The server's echo clears every log, this one included.
            if (OutgoingCommands* out = session_.outgoing()) out->send_SimpleCommand(kClearTextMessagesCommand);
        }
        return;
    }
    const int choice = ui_.showMessage(title, QStringLiteral("You are about to clear the text messages. Please, confirm."),
                                       {QStringLiteral("Clear"), QStringLiteral("Cancel")}, MessageStyle::Warning);
    if (choice == 0) ClearTextChatLog();
}

bool TextChat::SaveTextMessagesToFile(std::optional<QString> path) {
    if (!path) path = ui_.selectFileToSave({QStringLiteral("txt")});
    if (!path || path->isEmpty()) return false;
    if (!writeTextMessageLog(*path, formatTextMessageLog(chatLog_, notesLog_, clock_()))) {
        ui_.showMessage(QStringLiteral("Export Failed"), QStringLiteral("Failed to create a file at %1").arg(*path),
                        {QStringLiteral("Close")}, MessageStyle::Critical);
        return false;
    }
    return true;
}

void TextChat::ToogleScrollLock() {
    scroll_ = !scroll_;
    if (scroll_) display_.scrollChatToEnd();
}

void TextChat::TextMenuIncreaseFont() {
    fontSize_ += 1.0F;
    display_.chatLogChanged();
}

void TextChat::TextMenuDecreaseFont() {
    fontSize_ = std::max(kMinimumFontSize, fontSize_ - 1.0F);
    display_.chatLogChanged();
}

void TextChat::performMenuAction(ChatMenuAction action) {
    OutgoingCommands* out = session_.outgoing();
    switch (action) {
    case ChatMenuAction::None:
        break;
    case ChatMenuAction::IncreaseFont:
        TextMenuIncreaseFont();
        break;
    case ChatMenuAction::DecreaseFont:
        TextMenuDecreaseFont();
        break;
    case ChatMenuAction::ToggleFreeze:
        ToogleScrollLock();
        break;
    case ChatMenuAction::AllowAllMessages:
        if (out) out->send_SetChatPermissions(ChatStatusCode::AllAllowed);
        break;
    case ChatMenuAction::DisableAllMessages:
        if (out) out->send_SetChatPermissions(ChatStatusCode::AllDisabled);
        break;
    case ChatMenuAction::AllowPublicOnly:
        if (out) out->send_SetChatPermissions(ChatStatusCode::PublicOnly);
        break;
    case ChatMenuAction::EnableNotes:
        if (out) out->send_SetNotesPermissions(0);
        break;
    case ChatMenuAction::DisableNotes:
        if (out) out->send_SetNotesPermissions(1);
        break;
    case ChatMenuAction::ClearMessages:
        ClearTextMessages();
        break;
    case ChatMenuAction::ExportMessages:
        SaveTextMessagesToFile();
        break;
    }
}

}  // namespace veltrin
