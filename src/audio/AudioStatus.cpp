#include "audio/AudioStatus.h"

#include "audio/AudioConnector.h"

namespace veltrin::audio {

namespace {
constexpr double kStatusToastSeconds = 1.5;
}

AudioStatusPresentation presentAudioStatus(int code, bool playbackOk, bool microphoneOk, bool showAudioErrors) {
    AudioStatusPresentation p;
    if (code == kAudioConnected) {
        p.micImage = kMicImageMuted;
        if (!playbackOk) {
            p.errorLines.emplace_back(
                "The system was unable to initialize your playback device. You will not be able to listen to live "
                "session audio. Please run the audio setup and make sure you have selected the proper audio "
                "devices.");
            p.toasts.push_back(
                {"Selected audio device failed to start. See description in text messages.", kStatusToastSeconds});
        }
        if (!microphoneOk) {
            p.errorLines.emplace_back(
                "The system was unable to initialize your microphone. You will not be able to talk in this session. "
                "Please run the audio setup and make sure you have selected the proper microphone.");
            p.toasts.push_back(
                {"Your selected microhpne failed to start. See description in text messages.", kStatusToastSeconds});
        }
        if (playbackOk && microphoneOk) {
            p.notificationLines.emplace_back(
                "Your audio is connected. Your microphone is muted. To speak click the Mic button. If you cannot "
                "hear sound or talk please run a quick audio test.");
        }
    }
    if (showAudioErrors && (code == kAudioReaderEnded || code == kAudioWriterEnded)) {
        p.deactivateMic = true;
        p.micImage = kMicImageDisconnected;
        p.releaseSpeakingChannel = true;
        p.errorLines.emplace_back(
            "Your audio connection was lost. Please try reconnecting in a few moments by pressing the Mic button on "
            "the main toolbar.");
        p.toasts.push_back({"Audio connection lost.", kStatusToastSeconds});
    }
    return p;
}

const char* stoppedMicImage(int audioState) {
    return audioState == kAudioReaderEnded || audioState == kAudioWriterEnded ? kMicImageDisconnected
                                                                              : kMicImageMuted;
}

}  // namespace veltrin::audio
