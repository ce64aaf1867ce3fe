#include <gtest/gtest.h>

#include "audio/AudioConnector.h"
#include "audio/AudioStatus.h"
#include "audio/PlayerSlots.h"
#include "audio/SetupTestSample.h"

namespace veltrin::audio {
namespace {

PlayerSlots allPresent() {
    PlayerSlots s;
    for (int i = 0; i < PlayerSlots::kCount; ++i) s.setPresent(i, true);
    return s;
}

TEST(PlayerSlots, SpeakersKeepTheirSlotAndASixthTakesOverSlotZero) {
    PlayerSlots s = allPresent();
    for (std::uint32_t uid = 101; uid <= 105; ++uid) EXPECT_EQ(s.slotFor(uid), int(uid - 101));
    EXPECT_EQ(s.slotFor(103), 2) << "a known speaker keeps his player";
    EXPECT_EQ(s.slotFor(106), 0) << "the sixth speaker takes slot 0 over";
    EXPECT_EQ(s.uidOf(0), 106u);
    EXPECT_EQ(s.slotFor(101), 0) << "the first speaker lost his own player and takes slot 0 back";
    EXPECT_EQ(s.slotFor(105), 4);
}

TEST(PlayerSlots, OnlySlotsWithAPlayerAreUsed) {
    PlayerSlots s;
    EXPECT_EQ(s.slotFor(101), -1);
    s.setPresent(2, true);
    s.setPresent(0, true);
    EXPECT_EQ(s.slotFor(101), 0);
    EXPECT_EQ(s.slotFor(102), 2);
    s.clear();
    s.setPresent(0, true);
    EXPECT_EQ(s.slotFor(102), 0);
    EXPECT_EQ(s.uidOf(0), 102u);
}

TEST(AudioStatus, ChoosesLinesToastsAndImage) {
    const std::string lostLine =
        "Your audio connection was lost. Please try reconnecting in a few moments by pressing the Mic button on the "
        "main toolbar.";
    struct Case {
        int code;
        bool out, in, showErrors;
        std::size_t errors, notes;
        std::vector<std::string> toasts;
        std::optional<std::string> image;
        bool release;
    };
    const std::vector<Case> cases = {
        {0, true, true, true, 0, 1, {}, kMicImageMuted, false},
        {0, false, true, true, 1, 0, {"Selected audio device failed to start. See description in text messages."},
         kMicImageMuted, false},
        {0, true, false, true, 1, 0, {"Your selected microhpne failed to start. See description in text messages."},
         kMicImageMuted, false},
        {1, false, false, true, 1, 0, {"Audio connection lost."}, kMicImageDisconnected, true},
        {2, false, false, true, 1, 0, {"Audio connection lost."}, kMicImageDisconnected, true},
        {2, false, false, false, 0, 0, {}, std::nullopt, false},  // during the audio test or a reconnect
        {35, false, false, true, 0, 0, {}, std::nullopt, false},  // no devices: silent, the next press retries
        {-1, false, false, true, 0, 0, {}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        const auto p = presentAudioStatus(c.code, c.out, c.in, c.showErrors);
        SCOPED_TRACE(::testing::Message() << "code " << c.code << " out " << c.out << " in " << c.in);
        EXPECT_EQ(p.errorLines.size(), c.errors);
        EXPECT_EQ(p.notificationLines.size(), c.notes);
        std::vector<std::string> toasts;
        for (const auto& t : p.toasts) {
            toasts.push_back(t.text);
            EXPECT_EQ(t.seconds, 1.5);
        }
        EXPECT_EQ(toasts, c.toasts);
        EXPECT_EQ(p.micImage, c.image);
        EXPECT_EQ(p.releaseSpeakingChannel, c.release);
        EXPECT_EQ(p.deactivateMic, c.release);
        if (c.release) {
            EXPECT_EQ(p.errorLines.front(), lostLine);
        }
    }
    EXPECT_STREQ(stoppedMicImage(1), kMicImageDisconnected);
    EXPECT_STREQ(stoppedMicImage(0), kMicImageMuted);
    EXPECT_STREQ(stoppedMicImage(35), kMicImageMuted);
}

}  // namespace
}  // namespace veltrin::audio

namespace veltrin::audio {
namespace {

TEST(SetupTestSample, FeedsOnlyWholeBlocksAfterTheHead) {
    struct Case {
        std::size_t size;
        std::size_t blocks;
    };
    for (const Case c : {Case{0, 0}, Case{59, 0}, Case{60, 0}, Case{60 + 319, 0}, Case{60 + 320, 1},
                         Case{60 + 3 * 320, 3}, Case{60 + 3 * 320 + 200, 3}}) {
        std::vector<std::uint8_t> sample(c.size);
        for (std::size_t i = 0; i < sample.size(); ++i) sample[i] = static_cast<std::uint8_t>(i / 320);
        const auto blocks = voiceBlocksOfSample(sample);
        ASSERT_EQ(blocks.size(), c.blocks) << c.size;
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            EXPECT_EQ(blocks[b].data(), sample.data() + 60 + b * 320);
            EXPECT_EQ(blocks[b].size(), 320u);
        }
    }
}

}  // namespace
}  // namespace veltrin::audio
