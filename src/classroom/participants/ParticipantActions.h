#pragma once

#include <optional>
#include <string>
#include <vector>

#include "classroom/participants/ParticipantModel.h"

namespace veltrin {

// What the participant actions show the user or hand to other features. The controller
// implements it (with the private chat, notes and video features); tests record.
class ParticipantActionsUi {
public:
    virtual ~ParticipantActionsUi() = default;

    virtual void showMessage(const std::string& title, const std::string& text, const std::string& button) = 0;
    virtual void openPrivateNote(int uid) = 0;
    virtual void openPrivateText(int uid) = 0;
    virtual void watchVideo(int uid) = 0;
    // The remove sheet: the entered reason, or nothing when cancelled.
    virtual std::optional<std::string> askKickReason(const std::string& prompt) = 0;
};

// The room state the participant menu depends on beyond the participant list.
struct ParticipantMenuContext {
    bool notesAllowed = true;
    bool privateChatAllowed = true;
    std::optional<int> sharerUid;  // who shares the screen, if anyone
    bool localSharing = false;
};

enum class ParticipantMenuAction {
    SendPrivateNote,
    SendPrivateText,
    WatchVideo,
    Demote,
    Promote,
    RemoteStopScreenSharing,
    RemoteStartScreenSharing,
    GiveRemoteControl,
    DepriveRemoteControl,
    EnableMicrophone,
    DisableMicrophone,
    AllowWhiteboard,
    DepriveWhiteboard,
    RemoveFromSession,
};

struct ParticipantMenuItem {
    ParticipantMenuAction action;
    std::string title;
    bool separatorBefore = false;
};

// Where on a participant row a click landed.
enum class RowHit { Microphone, Webcam, Portrait, Other };

// The remove reason travels in a 49-byte field; the sheet limits its text to that.
inline constexpr int kKickReasonBytes = 49;
std::string truncateKickReason(const std::string& reason);

// The local user's actions on the participants: motions, away, pings, permissions for all, the
// clicks on a row and the participant menu. Main thread; commands go out only while there is a
// main connection, and never in playback.
class ParticipantActions {
public:
    ParticipantActions(ParticipantModel& model, ParticipantModelHost& host, ParticipantActionsUi& ui)
        : model_(model), host_(host), ui_(ui) {}

    // Menu items 501–516 carry motion + 500.
    void acMotion(int motion);
    void acAway();
    void acClearMotions();
    // Ping type 1 with sound, 0 silent.
    void PingUsers(int pingType);
    void SetMicrophoneAccessToAll(bool allow);
    void SetBoardAccessToAll(bool allow);

    // A click on participant `uid`; answers true when the participant menu should open instead.
    bool clickOnRow(int uid, RowHit hit, bool rightButton);
    // The menu for participant `uid`, in order; empty in playback or for an unknown uid.
    std::vector<ParticipantMenuItem> menuItemsFor(int uid, const ParticipantMenuContext& context) const;
    void trigger(ParticipantMenuAction action, int uid, const ParticipantMenuContext& context);
    // Asks for a reason and removes the participant.
    void KickUser(int uid);

private:
    OutgoingCommands* liveConnection();

    ParticipantModel& model_;
    ParticipantModelHost& host_;
    ParticipantActionsUi& ui_;
};

}  // namespace veltrin
