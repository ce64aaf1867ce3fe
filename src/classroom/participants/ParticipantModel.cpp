#include "ParticipantModel.h"

#include <QString>

#include <algorithm>

#include "session/OutgoingCommands.h"

namespace veltrin {

namespace {

constexpr int kReleaseSpeakingChannel = 7;
constexpr double kVideoToastSeconds = 2.5;

int compareNames(const TUserItem& a, const TUserItem& b) {
    const int c = QString::fromStdString(a.FullName)
                      .toCaseFolded()
                      .localeAwareCompare(QString::fromStdString(b.FullName).toCaseFolded());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int compareParticipants(SortOrder order, const TUserItem& a, const TUserItem& b) {
    switch (order) {
    case SortOrder::Unsorted:
        return 0;
    case SortOrder::Alphabetical:
        return compareNames(a, b);
    case SortOrder::ModeratorsOnTop:
        return a.UserTypeID > b.UserTypeID ? -1 : 1;
    case SortOrder::SpeakersOnTop:
        return a.statusPack.Mike_Status > b.statusPack.Mike_Status ? -1 : 1;
    case SortOrder::RaisedHandsOnTop: {
        const bool aHand = a.statusPack.MotionStatus == Motion::Hand;
        const bool bHand = b.statusPack.MotionStatus == Motion::Hand;
        if (!aHand && !bHand) return compareNames(a, b);
        if (aHand && !bHand) return -1;
        if (!aHand && bHand) return 1;
        return a.statusPack.MotionIndex >= b.statusPack.MotionIndex ? 1 : -1;
    }
    }
    return 0;
}

void ParticipantModel::reset() {
    users_.clear();
    handsCount_ = positiveCount_ = negativeCount_ = 0;
    sortOrder_ = SortOrder::Unsorted;
    voiceAllowed_ = boardAllowed_ = videoAllowed_ = breakoutRoomsAllowed_ = false;
}

void ParticipantModel::setLocalUser(int uid, int userType) {
    localUid_ = uid;
    localUserType_ = userType;
}

TUserItem* ParticipantModel::find(int uid) {
    const auto it = std::find_if(users_.begin(), users_.end(), [uid](const TUserItem& u) { return u.UID == uid; });
    return it == users_.end() ? nullptr : &*it;
}

const TUserItem* ParticipantModel::findUser(int uid) const {
    return const_cast<ParticipantModel*>(this)->find(uid);  // NOLINT: one search for both constnesses
}

std::optional<TUserItem> ParticipantModel::getUserByID(int uid) const {
    if (const TUserItem* user = findUser(uid)) return *user;
    return std::nullopt;
}

bool ParticipantModel::modifyUser(int uid, const std::function<void(TUserItem&)>& change) {
    TUserItem* user = find(uid);
    if (user == nullptr) return false;
    change(*user);
    return true;
}

std::string ParticipantModel::caption() const { return "Attendees [" + std::to_string(users_.size()) + "]"; }
std::string ParticipantModel::handsText() const { return "Hands: " + std::to_string(handsCount_); }
std::string ParticipantModel::positiveText() const { return "Yes: " + std::to_string(positiveCount_); }
std::string ParticipantModel::negativeText() const { return "No: " + std::to_string(negativeCount_); }

void ParticipantModel::setSortOrder(SortOrder order) {
    sortOrder_ = order;
    updateUserListView(true);
}

void ParticipantModel::addUserItem(const TUserItem& item) {
    if (TUserItem* existing = find(item.UID)) {
        *existing = item;
        return;
    }
    users_.push_back(item);
}

void ParticipantModel::removeUserItem(int uid) {
    std::erase_if(users_, [uid](const TUserItem& u) { return u.UID == uid; });
}

void ParticipantModel::updateUserListView(bool resort) {
    if (resort && sortOrder_ != SortOrder::Unsorted) {
        // Stable, and driven only by the "before" answer: the comparators answer "after" for equal
        // entries both ways round, which an unstable sort may not be given.
        std::stable_sort(users_.begin(), users_.end(), [order = sortOrder_](const TUserItem& a, const TUserItem& b) {
            return compareParticipants(order, a, b) < 0;
        });
    }
    assignHandNumbers();
    host_.participantListRefreshed();
}

void ParticipantModel::assignHandNumbers() {
    std::vector<TUserItem*> byIndex;
    byIndex.reserve(users_.size());
    for (TUserItem& user : users_) byIndex.push_back(&user);
    std::stable_sort(byIndex.begin(), byIndex.end(), [](const TUserItem* a, const TUserItem* b) {
        return a->statusPack.MotionIndex < b->statusPack.MotionIndex;
    });
    int next = 1;
    for (TUserItem* user : byIndex) {
        if (user->statusPack.isHand()) user->HandNumber = next++;
    }
}

void ParticipantModel::setMikeStatus(int uid, int status) {
    TUserItem* user = find(uid);
    if (user == nullptr) return;
    if (status == MikeStatus::Reset) status = user->VoiceAllowed ? MikeStatus::Allowed : MikeStatus::Forbidden;
    user->statusPack.Mike_Status = status;
}

void ParticipantModel::updateAudioStatusOfUser(int uid, int status) {
    TUserItem* user = find(uid);
    if (user == nullptr) return;
    user->VoiceAllowed = status == MikeStatus::Allowed;
    if (uid == localUid_) {
        if (host_.isMicActive()) {
            if (OutgoingCommands* out = host_.connection()) out->send_SimpleCommand(kReleaseSpeakingChannel);
        }
        host_.updateMyControls();
    }
    user->statusPack.Mike_Status = status;
    updateUserListView(true);
}

void ParticipantModel::updateBoardStatusOfUser(int uid, bool allowed) {
    TUserItem* user = find(uid);
    if (user == nullptr) return;
    user->BoardAllowed = allowed;
    updateUserListView(false);
}

void ParticipantModel::updateMotionStatus(int uid, int motion) {
    if (find(uid) == nullptr) return;
    const bool handsChanged = updateMotionStatusDecFirst(uid, motion, true);
    updateUserListView(handsChanged);
}

bool ParticipantModel::updateMotionStatusDecFirst(int uid, int motion, bool decFirst) {
    TUserItem* user = find(uid);
    if (user == nullptr) return false;
    TClientStatusPack& pack = user->statusPack;
    bool handsChanged = false;
    if (decFirst) {
        if (pack.isHand()) {
            --handsCount_;
            handsChanged = true;
        } else if (pack.isYES()) {
            --positiveCount_;
        } else if (pack.isNO()) {
            --negativeCount_;
        }
    }
    pack.MotionStatus = motion;
    if (motion == Motion::No) {
        ++negativeCount_;
    } else if (motion == Motion::Yes) {
        ++positiveCount_;
    } else if (motion == Motion::Hand) {
        ++handsCount_;
        pack.MotionIndex = handsCount_;
        handsChanged = true;
    } else if (motion > Motion::ServerHandBase) {
        ++handsCount_;
        pack.MotionIndex = motion - Motion::ServerHandBase;
        pack.MotionStatus = Motion::Hand;
        handsChanged = true;
    }
    // A counter can only go below zero when the server takes back a motion it never announced;
    // the label must not show a negative count for it.
    handsCount_ = std::max(handsCount_, 0);
    positiveCount_ = std::max(positiveCount_, 0);
    negativeCount_ = std::max(negativeCount_, 0);
    return handsChanged;
}

void ParticipantModel::clearMotions() {
    handsCount_ = positiveCount_ = negativeCount_ = 0;
    for (TUserItem& user : users_) {
        user.statusPack.MotionStatus = Motion::None;
        user.statusPack.MotionIndex = 0;
        user.TickVisible = false;
        user.HandNumber = 0;
    }
    updateUserListView(true);
}

void ParticipantModel::clearGreenTics() {
    for (TUserItem& user : users_) user.TickVisible = false;
    updateUserListView(true);
}

void ParticipantModel::setGreenTickToUser(int uid) {
    if (TUserItem* user = find(uid)) {
        user->TickVisible = true;
        updateUserListView(false);
    }
}

void ParticipantModel::setOnlineStatusToUser(int uid, int status) {
    if (TUserItem* user = find(uid)) {
        user->OnlineStatus = status;
        updateUserListView(false);
    }
}

void ParticipantModel::setAppShareStatusToUser(int uid, int status) {
    if (TUserItem* user = find(uid)) user->statusPack.AppShareStatus = status;
}

void ParticipantModel::setTypingStatusOfUser(int uid, bool typing) {
    if (TUserItem* user = find(uid)) {
        user->TypingStatus = typing;
        updateUserListView(false);
    }
}

void ParticipantModel::toggleModeratorStatusOfUser(int uid, int userType) {
    if (uid == localUid_) {
        boardAllowed_ = voiceAllowed_ = userType > 0;
        localUserType_ = userType;
        host_.localUserTypeChanged(userType);
        host_.updateMyControls();
    }
    if (TUserItem* user = find(uid)) {
        user->UserTypeID = userType;
        TClientStatusPack& pack = user->statusPack;
        if (userType == 0) {
            pack.Board_BoardAllowed = false;
            user->VoiceAllowed = false;
            if (pack.Mike_Status != MikeStatus::Speaking) pack.Mike_Status = MikeStatus::Forbidden;
        } else if (userType >= 1000) {
            pack.Board_BoardAllowed = true;
            user->VoiceAllowed = true;
            if (pack.Mike_Status != MikeStatus::Speaking) pack.Mike_Status = MikeStatus::Allowed;
        }
    }
    updateUserListView(true);
}

void ParticipantModel::updateVideoStatus(int uid, bool isOn) {
    TUserItem* user = find(uid);
    if (user == nullptr) return;
    user->statusPack.Video_Status = isOn ? 4 : 2;
    if (uid != localUid_) {
        host_.displayToast(isOn ? user->FullName +
                                      " started live video. Click the webcam icon next to their name to watch it."
                                : user->FullName + " stopped their video.",
                           kVideoToastSeconds);
    }
    updateUserListView(false);
}

}  // namespace veltrin
