#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "wire/Records.h"

namespace veltrin {

class OutgoingCommands;

// Codes of TClientStatusPack.Mike_Status.
namespace MikeStatus {
inline constexpr int Reset = -1;  // to the setters only: 2 or 3 by the participant's VoiceAllowed
inline constexpr int Allowed = 2;
inline constexpr int Forbidden = 3;
inline constexpr int Speaking = 4;
}  // namespace MikeStatus

// Codes of TClientStatusPack.MotionStatus. Values above ServerHandBase arrive only from the server:
// a raised hand whose queue index is the value minus ServerHandBase.
namespace Motion {
inline constexpr int None = 0;
inline constexpr int Hand = 1;
inline constexpr int Smile = 2;
inline constexpr int Clap = 4;
inline constexpr int Yes = 8;
inline constexpr int No = 16;
inline constexpr int ServerHandBase = 1000;
}  // namespace Motion

// The orders of the participant list, by the tags of the sort menu.
enum class SortOrder : int { Unsorted = 0, Alphabetical = 1, ModeratorsOnTop = 2, SpeakersOnTop = 3, RaisedHandsOnTop = 4 };

// Answers -1 when `a` goes before `b`, +1 after, 0 the same, for orders 1 to 4 (0 for Unsorted).
// "Equal" moderators and speakers answer after, as the list has always done; sorting uses only the
// "before" answer, so equal entries keep their order of arrival.
int compareParticipants(SortOrder order, const TUserItem& a, const TUserItem& b);

// What the model needs from the session around it. The controller implements it; tests record.
class ParticipantModelHost {
public:
    virtual ~ParticipantModelHost() = default;

    // The list changed: reload the rows, the caption and the counters from the model.
    virtual void participantListRefreshed() = 0;
    // The own permissions or role changed: recompute and apply the local controls.
    virtual void updateMyControls() = 0;
    // A toast (dropped by the controller while toasts are suppressed).
    virtual void displayToast(const std::string& text, double seconds) = 0;
    // The own role changed (moderator toggle): the own client record takes the new type.
    virtual void localUserTypeChanged(int userType) = 0;
    // Whether the own microphone holds a speaking channel right now.
    virtual bool isMicActive() const = 0;
    // The main connection, or null while there is none (then nothing is sent).
    virtual OutgoingCommands* connection() = 0;
};

// The participants of the room with their live status, the motion counters, the sort order and the
// own user's permissions. Main thread only: the controller's Safe_ entry points forward here 1:1
// once they have been marshalled. Events for an unknown uid change nothing.
class ParticipantModel {
public:
    explicit ParticipantModel(ParticipantModelHost& host) : host_(host) {}

    // ---- session
    // At every (re)join: no participants, counters 0, order Unsorted, permissions off.
    void reset();
    void setLocalUser(int uid, int userType);
    int localUid() const { return localUid_; }
    int localUserType() const { return localUserType_; }
    void setPlayback(bool playback) { playback_ = playback; }
    bool isPlayback() const { return playback_; }

    // ---- lookups
    const std::vector<TUserItem>& users() const { return users_; }
    const TUserItem* findUser(int uid) const;
    std::optional<TUserItem> getUserByID(int uid) const;
    const TUserItem* getMe() const { return findUser(localUid_); }
    // Runs `change` on the participant without a refresh; false for an unknown uid.
    bool modifyUser(int uid, const std::function<void(TUserItem&)>& change);

    // ---- own permissions
    bool voiceAllowed() const { return voiceAllowed_; }
    bool boardAllowed() const { return boardAllowed_; }
    bool videoAllowed() const { return videoAllowed_; }
    bool breakoutRoomsAllowed() const { return breakoutRoomsAllowed_; }
    void setVoiceAllowed(bool allowed) { voiceAllowed_ = allowed; }
    void setBoardAllowed(bool allowed) { boardAllowed_ = allowed; }
    void setVideoAllowed(bool allowed) { videoAllowed_ = allowed; }
    void setBreakoutRoomsAllowed(bool allowed) { breakoutRoomsAllowed_ = allowed; }

    // ---- counters and caption
    int handsCount() const { return handsCount_; }
    int positiveCount() const { return positiveCount_; }
    int negativeCount() const { return negativeCount_; }
    std::string caption() const;        // "Attendees [N]"
    std::string handsText() const;      // "Hands: N"
    std::string positiveText() const;   // "Yes: N"
    std::string negativeText() const;   // "No: N"
    bool handsHighlighted() const { return handsCount_ > 0; }

    SortOrder sortOrder() const { return sortOrder_; }
    // The sort menu: stores the order and refreshes with resort.
    void setSortOrder(SortOrder order);

    // ---- entry points
    // A participant announced again replaces the earlier entry, so a reconnecting user never shows twice.
    void addUserItem(const TUserItem& item);
    void removeUserItem(int uid);
    void updateUserListView(bool resort);
    void setMikeStatus(int uid, int status);
    void updateAudioStatusOfUser(int uid, int status);
    void updateBoardStatusOfUser(int uid, bool allowed);
    // Motion from a participant (117): the previous motion is taken back first; refresh, resorted
    // when the number of hands changed.
    void updateMotionStatus(int uid, int motion);
    // The counting step alone; answers whether the number of hands changed. No refresh.
    bool updateMotionStatusDecFirst(int uid, int motion, bool decFirst);
    void clearMotions();
    void clearGreenTics();
    void setGreenTickToUser(int uid);
    void setOnlineStatusToUser(int uid, int status);
    void setAppShareStatusToUser(int uid, int status);
    void setTypingStatusOfUser(int uid, bool typing);
    void toggleModeratorStatusOfUser(int uid, int userType);
    void updateVideoStatus(int uid, bool isOn);

private:
    TUserItem* find(int uid);
    void assignHandNumbers();

    ParticipantModelHost& host_;
    std::vector<TUserItem> users_;
    int localUid_ = 0;
    int localUserType_ = 0;
    bool playback_ = false;
    bool voiceAllowed_ = false;
    bool boardAllowed_ = false;
    bool videoAllowed_ = false;
    bool breakoutRoomsAllowed_ = false;
    int handsCount_ = 0;
    int positiveCount_ = 0;
    int negativeCount_ = 0;
    SortOrder sortOrder_ = SortOrder::Unsorted;
};

}  // namespace veltrin
