#include "ParticipantRow.h"

namespace veltrin {

namespace {

const char* motionPicture(int motion) {
    switch (motion) {
    case 1:
        return "motion_hand_32.png";
    case 2:
        return "motion_smile_32.png";
    case 4:
        return "motion_clap_32.png";
    case 8:
        return "motion_positive_32.png";
    case 16:
        return "motion_negative_32.png";
    default:
        return nullptr;
    }
}

const char* microphoneIcon(int status) {
    switch (status) {
    case 0:
    case 2:
        return "mike_granted_16x16.png";
    case 3:
        return "mike_forbidden_16x16.png";
    case 4:
        return "mike_speak_16x16.png";
    default:
        return nullptr;
    }
}

std::string spokenIcon(const std::string& icon) {
    if (icon == "typing_16x16.png") return "typing";
    if (icon == "mike_granted_16x16.png") return "microphone allowed";
    if (icon == "mike_forbidden_16x16.png") return "microphone forbidden";
    if (icon == "mike_speak_16x16.png") return "speaking";
    if (icon == "cam_broadcast_16x16.png") return "webcam on";
    if (icon == "app_share_16x16") return "sharing the screen";
    if (icon == "app_share_control_16x16") return "has remote control";
    if (icon == "ok_1.png") return "content received";
    return {};
}

std::string spokenMotion(const std::string& portrait, const std::string& handNumber) {
    if (portrait == "motion_hand_32.png") return "hand raised " + handNumber;
    if (portrait == "motion_smile_32.png") return "smiling";
    if (portrait == "motion_clap_32.png") return "clapping";
    if (portrait == "motion_positive_32.png") return "yes";
    if (portrait == "motion_negative_32.png") return "no";
    return {};
}

}  // namespace

ParticipantRow describeParticipantRow(const TUserItem& user, int localUid, const std::string& recorderEmail) {
    ParticipantRow row;
    row.uid = user.UID;
    row.name = user.FullName;
    row.bold = user.UserTypeID != 0;
    if (user.OnlineStatus == 1) {
        row.suffix = !recorderEmail.empty() && user.Email == recorderEmail ? "Recorder is paused." : " - Away";
        row.gray = true;
    } else if (user.OnlineStatus == 2) {
        row.suffix = " - Audio Test";
        row.gray = true;
    }
    const std::string you = user.UID == localUid ? "(You) " : "";
    if (user.UserTypeID != 0) {
        row.secondLine = you + (user.UserTypeID == 1000 ? "Moderator" : "Administrator") + " " + row.suffix;
    } else {
        row.secondLine = you + row.suffix;
    }

    const TClientStatusPack& pack = user.statusPack;
    if (const char* picture = motionPicture(pack.MotionStatus)) {
        row.portrait = picture;
    } else {
        row.portrait = user.UserTypeID != 0 ? "user_framed.png" : "user_framed_gray.png";
    }
    if (pack.MotionStatus == 1) row.handNumber = std::to_string(user.HandNumber);

    if (user.TypingStatus) row.icons.emplace_back("typing_16x16.png");
    if (const char* mike = microphoneIcon(pack.Mike_Status)) {
        row.microphoneIcon = mike;
        row.icons.push_back(row.microphoneIcon);
    }
    if (pack.Video_Status == 4) {
        row.webcamIcon = "cam_broadcast_16x16.png";
        row.icons.push_back(row.webcamIcon);
    }
    if (pack.AppShareStatus == 1) row.icons.emplace_back("app_share_16x16");
    if (pack.AppShareStatus == 2) row.icons.emplace_back("app_share_control_16x16");
    if (user.TickVisible) row.icons.emplace_back("ok_1.png");
    return row;
}

std::string ParticipantRow::accessibleText() const {
    std::string text = name;
    auto add = [&text](const std::string& part) {
        if (!part.empty()) text += ", " + part;
    };
    std::string second = secondLine;
    while (!second.empty() && second.back() == ' ') second.pop_back();
    add(second);
    add(spokenMotion(portrait, handNumber));
    for (const std::string& icon : icons) add(spokenIcon(icon));
    return text;
}

}  // namespace veltrin
