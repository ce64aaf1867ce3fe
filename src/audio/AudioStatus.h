#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrin::audio {

inline constexpr char kMicImageMuted[] = "tbf_48x96_mic_muted.png";
inline constexpr char kMicImageActive[] = "tbf_48x96_mic_active.png";
inline constexpr char kMicImageDisconnected[] = "tbf_48x96_mic_disconnected.png";

struct AudioToast {
    std::string text;
    double seconds = 0;
    bool operator==(const AudioToast&) const = default;
};

// What the classroom shows and does for one audio status report (Safe_NotifyAudioStatusChange),
// decided without widgets so that the controller only carries it out.
struct AudioStatusPresentation {
    std::optional<std::string> micImage;
    std::vector<std::string> errorLines;         // Safe_AddErrorMessage
    std::vector<std::string> notificationLines;  // Safe_AddNotificationMessage
    std::vector<AudioToast> toasts;              // Safe_DisplayToast:ForTime:
    bool deactivateMic = false;                  // micActive = NO
    bool releaseSpeakingChannel = false;         // simple command 7 on the main connection
};

// The controller's audioState becomes `code` in every case.
AudioStatusPresentation presentAudioStatus(int code, bool playbackOk, bool microphoneOk, bool showAudioErrors);

// The Mic button image after the own microphone stopped, for the current audioState.
const char* stoppedMicImage(int audioState);

}  // namespace veltrin::audio
