#pragma once

#include <string>
#include <vector>

#include "wire/Records.h"

namespace veltrin {

// What one participant row shows, decided without widgets: the texts, the icon names and the flags
// the painter needs.
struct ParticipantRow {
    int uid = 0;
    std::string name;        // FullName
    bool bold = false;       // any non-zero user type
    bool gray = false;       // away or in the audio test
    std::string suffix;      // " - Away", "Recorder is paused.", " - Audio Test" or empty
    std::string secondLine;  // "(You) Moderator  - Away" …
    std::string portrait;    // the portrait, or the motion picture that replaces it
    std::string handNumber;  // "%d" for a raised hand, else empty
    // Status icons from left to right: typing, microphone, webcam, screen, tick.
    std::vector<std::string> icons;
    std::string microphoneIcon;  // also in `icons`; separate because a click on it has its own rule
    std::string webcamIcon;      // likewise

    // Name and status in one sentence, for screen readers.
    std::string accessibleText() const;
};

ParticipantRow describeParticipantRow(const TUserItem& user, int localUid, const std::string& recorderEmail);

}  // namespace veltrin
