#include "ParticipantActions.h"

#include "session/OutgoingCommands.h"
#include "wire/PingPacket.h"
#include "wire/Utf.h"

namespace veltrin {

namespace {

constexpr int kClearMotionsCommand = 36;
constexpr int kModerator = 1000;

bool isLocal(const ParticipantModel& model, int uid) { return uid == model.localUid(); }

}  // namespace

std::string truncateKickReason(const std::string& reason) {
    return reason.substr(0, utf::utf8PrefixLength(reason, kKickReasonBytes));
}

OutgoingCommands* ParticipantActions::liveConnection() {
    return model_.isPlayback() ? nullptr : host_.connection();
}

void ParticipantActions::acMotion(int motion) {
    OutgoingCommands* out = liveConnection();
    if (out == nullptr) return;
    const TUserItem* me = model_.getMe();
    const bool already = me != nullptr && (motion == Motion::Hand ? me->statusPack.isHand()
                                                                  : me->statusPack.MotionStatus == motion);
    // The local state follows only when the server echoes the motion back.
    out->send_Motion(already ? Motion::None : motion);
}

void ParticipantActions::acAway() {
    OutgoingCommands* out = liveConnection();
    if (out == nullptr) return;
    const TUserItem* me = model_.getMe();
    out->send_OnlineStatus(me != nullptr && me->OnlineStatus == 0 ? 1 : 0);
}

void ParticipantActions::acClearMotions() {
    if (model_.localUserType() <= 0) return;
    OutgoingCommands* out = liveConnection();
    if (out == nullptr) return;
    model_.clearGreenTics();
    out->send_SimpleCommand(kClearMotionsCommand);
}

void ParticipantActions::PingUsers(int pingType) {
    if (model_.localUserType() <= 0) return;
    OutgoingCommands* out = liveConnection();
    if (out == nullptr) return;
    TPingPacket ping;
    ping.ID = 0;
    ping.FromID = model_.localUid();
    ping.ToID = 0;
    ping.PingType = pingType;
    ping.MustReply = true;
    ping.MultipleAnswers = false;
    ping.AnswerMask = 0;
    // send_PingPacket clears the ticks first, so the replies show who is present.
    out->send_PingPacket(ping);
}

void ParticipantActions::SetMicrophoneAccessToAll(bool allow) {
    if (model_.localUserType() == 0) return;
    OutgoingCommands* out = liveConnection();
    if (out == nullptr) return;
    for (const TUserItem& user : model_.users()) {
        if (!isLocal(model_, user.UID) && user.UserTypeID == 0) out->send_SetMicPermissionToUser(user.UID, allow);
    }
}

void ParticipantActions::SetBoardAccessToAll(bool allow) {
    if (model_.localUserType() == 0) return;
    OutgoingCommands* out = liveConnection();
    if (out == nullptr) return;
    for (const TUserItem& user : model_.users()) {
        if (!isLocal(model_, user.UID) && user.UserTypeID == 0) out->send_SetBoardPermissionToUser(user.UID, allow);
    }
}

bool ParticipantActions::clickOnRow(int uid, RowHit hit, bool rightButton) {
    if (model_.isPlayback()) return false;
    const TUserItem* target = model_.findUser(uid);
    if (target == nullptr) return false;
    const bool local = isLocal(model_, uid);
    const int mike = target->statusPack.Mike_Status;
    if (hit == RowHit::Microphone && model_.localUserType() >= kModerator && !local && mike >= 1 && mike <= 4) {
        const bool allow = !(mike == 2 || mike == 4);
        if (OutgoingCommands* out = liveConnection()) out->send_SetMicPermissionToUser(uid, allow);
        return false;
    }
    if (hit == RowHit::Microphone && model_.localUserType() >= kModerator && !local && mike == 0) return false;
    if (hit == RowHit::Webcam && !rightButton && !local) {
        if (target->statusPack.Video_Status == 4) ui_.watchVideo(uid);
        return false;
    }
    if (hit == RowHit::Portrait && model_.localUserType() >= kModerator && target->statusPack.MotionStatus != 0) {
        if (OutgoingCommands* out = liveConnection()) out->send_ForceUserMotion(uid, 0);
        return false;
    }
    return true;
}

std::vector<ParticipantMenuItem> ParticipantActions::menuItemsFor(int uid, const ParticipantMenuContext& context) const {
    std::vector<ParticipantMenuItem> items;
    const TUserItem* target = model_.findUser(uid);
    if (model_.isPlayback() || target == nullptr || isLocal(model_, uid)) return items;
    const int myType = model_.localUserType();
    using A = ParticipantMenuAction;
    if (context.notesAllowed || myType > 0) items.push_back({A::SendPrivateNote, "Send a Private Note"});
    if (context.privateChatAllowed || myType >= 1) items.push_back({A::SendPrivateText, "Send a Private Text Message"});
    items.push_back({A::WatchVideo, "Watch Live Video From User"});
    if (myType <= 0) return items;

    if (target->UserTypeID != 0)
        items.push_back({A::Demote, "Demote to Attendee", true});
    else
        items.push_back({A::Promote, "Promote to Moderator", true});

    bool sharingGroup = true;
    auto addSharing = [&](A action, const char* title) {
        items.push_back({action, title, sharingGroup});
        sharingGroup = false;
    };
    if (context.sharerUid && *context.sharerUid == uid) addSharing(A::RemoteStopScreenSharing, "Remote Stop Screen Sharing");
    if (!context.sharerUid) addSharing(A::RemoteStartScreenSharing, "Remote Start Screen Sharing");
    const bool holdsControl = target->statusPack.AppShareStatus == 2;
    if (context.localSharing && !holdsControl) addSharing(A::GiveRemoteControl, "Give Remote Control");
    if (context.localSharing && holdsControl) addSharing(A::DepriveRemoteControl, "Deprive Remote Control");

    const int mike = target->statusPack.Mike_Status;
    bool micGroup = true;
    if (mike != 2 && mike != 4) {
        items.push_back({A::EnableMicrophone, "Enable Microphone", micGroup});
        micGroup = false;
    }
    if (mike != 0 && mike != 1 && mike != 3) items.push_back({A::DisableMicrophone, "Disable Microphone", micGroup});

    if (!target->BoardAllowed)
        items.push_back({A::AllowWhiteboard, "Allow Whiteboard Control", true});
    else
        items.push_back({A::DepriveWhiteboard, "Deprive Whiteboard Control", true});

    items.push_back({A::RemoveFromSession, "Remove from Session", true});
    return items;
}

void ParticipantActions::trigger(ParticipantMenuAction action, int uid, const ParticipantMenuContext& context) {
    if (model_.isPlayback() || model_.findUser(uid) == nullptr) return;
    const int myType = model_.localUserType();
    using A = ParticipantMenuAction;
    switch (action) {
    case A::SendPrivateNote:
        if (!context.notesAllowed && myType < 1)
            ui_.showMessage("Notes Unavailable", "Session notes have been disabled by moderator.", "OK");
        else
            ui_.openPrivateNote(uid);
        return;
    case A::SendPrivateText:
        if (!context.privateChatAllowed && myType < 1)
            ui_.showMessage("Private Texts Unavailable", "Private texts have been disabled by moderator.", "OK");
        else
            ui_.openPrivateText(uid);
        return;
    case A::WatchVideo:
        ui_.watchVideo(uid);
        return;
    case A::RemoveFromSession:
        KickUser(uid);
        return;
    default:
        break;
    }
    // The rest are moderator actions; a demoted user's stale menu must not send them.
    if (myType <= 0) return;
    OutgoingCommands* out = liveConnection();
    if (out == nullptr) return;
    switch (action) {
    case A::Demote:
        out->send_SetModeratorStatusOfUser(uid, 0);
        break;
    case A::Promote:
        out->send_SetModeratorStatusOfUser(uid, kModerator);
        break;
    case A::RemoteStopScreenSharing:
        out->send_RequestRemoteScreenSharing(uid, 1, 1, 1, true);
        break;
    case A::RemoteStartScreenSharing:
        out->send_RequestRemoteScreenSharing(uid, 1, 1, 1, false);
        break;
    case A::GiveRemoteControl:
        if (context.localSharing) out->send_SetAppShareControlToUser(uid, 1);
        break;
    case A::DepriveRemoteControl:
        out->send_SetAppShareControlToUser(uid, 0);
        break;
    case A::EnableMicrophone:
        out->send_SetMicPermissionToUser(uid, true);
        break;
    case A::DisableMicrophone:
        out->send_SetMicPermissionToUser(uid, false);
        break;
    case A::AllowWhiteboard:
        out->send_SetBoardPermissionToUser(uid, true);
        break;
    case A::DepriveWhiteboard:
        out->send_SetBoardPermissionToUser(uid, false);
        break;
    default:
        break;
    }
}

void ParticipantActions::KickUser(int uid) {
    if (model_.localUserType() <= 0 || liveConnection() == nullptr) return;
    const std::optional<std::string> reason = ui_.askKickReason("Specify a remove reason to send to user.");
    if (!reason) return;
    // The sheet was modal: the connection may have gone meanwhile.
    if (OutgoingCommands* out = liveConnection()) out->send_KickUser(uid, truncateKickReason(*reason));
}

}  // namespace veltrin
