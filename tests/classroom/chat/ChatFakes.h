#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/core/UserInterface.h"
#include "classroom/chat/TextChat.h"
#include "session/OutgoingCommands.h"
#include "wire/Records.h"
#include "wire/TCommand.h"

namespace veltrin::testing {

struct FakeChatSession final : TextChatSession {
    OutgoingCommands* outgoing() override { return connected ? &sent : nullptr; }
    int localUid() const override { return uid; }
    int localUserType() const override { return userType; }
    bool isPlayback() const override { return playback; }
    std::optional<std::string> fullNameOf(int id) const override {
        const auto it = names.find(id);
        if (it == names.end()) return std::nullopt;
        return it->second;
    }
    bool showsDisconnectionNotification() const override { return notices; }

    int uid = 7;
    int userType = 0;
    bool playback = false;
    bool notices = true;
    bool connected = true;
    std::map<int, std::string> names;
    CommandBuffer sent{7, 0x10002};
};

struct RecordingChatDisplay final : TextChatDisplay {
    void chatLogChanged() override { ++chatReloads; }
    void scrollChatToEnd() override { ++chatScrolls; }
    void chatLineArrived() override { ++chatLines; }
    void notesLogChanged() override { ++notesReloads; }
    void blinkNotesButton() override { ++notesBlinks; }
    void chatControlsChanged() override { ++controlUpdates; }
    void showToast(const QString& text, double seconds) override {
        toasts << text;
        toastSeconds.push_back(seconds);
    }
    std::optional<QString> askForText(const QString& prompt) override {
        prompts << prompt;
        return sheetAnswer;
    }

    int chatReloads = 0, chatScrolls = 0, chatLines = 0, notesReloads = 0, notesBlinks = 0, controlUpdates = 0;
    QStringList toasts;
    std::vector<double> toastSeconds;
    QStringList prompts;
    std::optional<QString> sheetAnswer;
};

struct RecordingChatUi final : UserInterface {
    struct Box {
        QString title, text;
        QStringList buttons;
    };
    int showMessage(const QString& title, const QString& text, const QStringList& buttons, MessageStyle) override {
        boxes.push_back({title, text, buttons});
        return answer;
    }
    std::optional<QString> selectFileToSave(const QStringList& types) override {
        pickedTypes = types;
        return savePath;
    }
    void openUrl(const QUrl&) override {}
    void quit() override {}

    int answer = 0;
    std::vector<Box> boxes;
    std::optional<QString> savePath;
    QStringList pickedTypes;
};

// One command as it went out: its frame and payload.
struct SentCommand {
    TCommand frame;
    Bytes payload;
};

inline std::vector<SentCommand> splitCommands(const Bytes& bytes) {
    std::vector<SentCommand> out;
    std::size_t at = 0;
    while (at + TCommand::kSize <= bytes.size()) {
        SentCommand c{TCommand::decode(bytes.data() + at), {}};
        at += TCommand::kSize;
        const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        c.payload.assign(begin, begin + static_cast<std::ptrdiff_t>(c.frame.DataSize));
        at += c.frame.DataSize;
        out.push_back(std::move(c));
    }
    return out;
}

inline std::int32_t intPayload(const SentCommand& c) {
    return static_cast<std::int32_t>(c.payload.at(0) | (c.payload.at(1) << 8) | (c.payload.at(2) << 16) |
                                     (c.payload.at(3) << 24));
}

inline TTextMessage messagePayload(const SentCommand& c) {
    MemoryInputStream is(c.payload);
    TTextMessage m;
    m.readFromStream(is);
    return m;
}

// The sent commands in a compact form: "151:1", "130:0>hello" (type, receiver and text of a message),
// "163" for commands without payload.
inline std::vector<std::string> describe(const Bytes& bytes) {
    std::vector<std::string> out;
    for (const SentCommand& c : splitCommands(bytes)) {
        std::string d = std::to_string(c.frame.CommandID);
        if (c.frame.CommandID == 130 || c.frame.CommandID == 131) {
            const TTextMessage m = messagePayload(c);
            d += ":" + std::to_string(m.MessageType) + ">" + std::to_string(m.ToUID) + ":" + m.Text;
        } else if (c.payload.size() == 4) {
            d += ":" + std::to_string(intPayload(c));
        }
        out.push_back(d);
    }
    return out;
}

inline TTextMessage makeMessage(int kind, int from, int to, std::string text, std::string name = {}) {
    TTextMessage m;
    m.MessageType = kind;
    m.FromUID = from;
    m.ToUID = to;
    m.Text = std::move(text);
    m.NameToUse = std::move(name);
    return m;
}

// A chat with its recorders, at a fixed time.
struct ChatFixture {
    ChatFixture() { chat.setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(13, 7)); }); }
    std::vector<std::string> sent() const { return describe(session.sent.data()); }

    FakeChatSession session;
    RecordingChatDisplay display;
    RecordingChatUi ui;
    TextChat chat{session, display, ui};
};

}  // namespace veltrin::testing
