#pragma once

#include <optional>
#include <string>
#include <vector>

#include "classroom/participants/ParticipantActions.h"
#include "classroom/participants/ParticipantModel.h"
#include "session/OutgoingCommands.h"
#include "wire/Streams.h"
#include "wire/TCommand.h"

namespace veltrin::test {

// Records what the participant model and actions ask of the session; commands land in a CommandBuffer.
struct FakeParticipantHost : ParticipantModelHost, ParticipantActionsUi {
    CommandBuffer commands{7, 1};
    bool connected = true;
    bool micActive = false;
    int refreshes = 0;
    int controlUpdates = 0;
    std::vector<std::pair<std::string, double>> toasts;
    std::vector<int> typeChanges;
    std::vector<std::string> shown;  // "box:Title|Text|Button", "note:uid", "text:uid", "video:uid"
    std::optional<std::string> kickAnswer;
    std::vector<std::string> kickPrompts;

    void participantListRefreshed() override { ++refreshes; }
    void updateMyControls() override { ++controlUpdates; }
    void displayToast(const std::string& text, double seconds) override { toasts.emplace_back(text, seconds); }
    void localUserTypeChanged(int type) override { typeChanges.push_back(type); }
    bool isMicActive() const override { return micActive; }
    OutgoingCommands* connection() override { return connected ? &commands : nullptr; }

    void showMessage(const std::string& title, const std::string& text, const std::string& button) override {
        shown.push_back("box:" + title + "|" + text + "|" + button);
    }
    void openPrivateNote(int uid) override { shown.push_back("note:" + std::to_string(uid)); }
    void openPrivateText(int uid) override { shown.push_back("text:" + std::to_string(uid)); }
    void watchVideo(int uid) override { shown.push_back("video:" + std::to_string(uid)); }
    std::optional<std::string> askKickReason(const std::string& prompt) override {
        kickPrompts.push_back(prompt);
        return kickAnswer;
    }

    // The bytes another CommandBuffer produces for the same commands, to compare with.
    static Bytes expected(const std::function<void(CommandBuffer&)>& compose) {
        CommandBuffer b(7, 1);
        compose(b);
        return b.take();
    }
};

inline TUserItem user(int uid, const std::string& name, int type = 0, int mike = 2) {
    TUserItem u;
    u.UID = uid;
    u.FullName = name;
    u.UserTypeID = type;
    u.statusPack.UID = uid;
    u.statusPack.Mike_Status = mike;
    u.VoiceAllowed = mike == 2 || mike == 4;
    return u;
}

}  // namespace veltrin::test
