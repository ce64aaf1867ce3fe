#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/core/MenuRules.h"

namespace veltrin {
namespace {

// One column per situation; each row says for which situations a tag is enabled.
enum Situation {
    NoClassroom,
    AttendeeLive,
    ModeratorLive,
    ModeratorPlayback,
    ModeratorLiveSharingAllowed,
    AttendeeWithWebcamAndVideo,
    SituationCount
};

MenuContext contextOf(Situation s) {
    MenuContext c;
    switch (s) {
    case NoClassroom:
        break;
    case AttendeeLive:
        c = {true, true, 0, true, true, false, false};
        break;
    case ModeratorLive:
        c = {true, true, 1000, false, true, false, false};
        break;
    case ModeratorPlayback:
        c = {true, false, 1000, false, false, false, false};
        break;
    case ModeratorLiveSharingAllowed:
        c = {true, true, 1, true, true, false, false};
        break;
    case AttendeeWithWebcamAndVideo:
        c = {true, true, 0, false, false, true, true};
        break;
    case SituationCount:
        break;
    }
    return c;
}

struct Row {
    std::vector<int> tags;
    std::array<bool, SituationCount> enabled;  // in Situation order
};

// NoClassroom, AttendeeLive, ModeratorLive, ModeratorPlayback, ModeratorLiveSharingAllowed, AttendeeWithWebcamAndVideo
const std::vector<Row>& rows() {
    constexpr bool Y = true;
    constexpr bool N = false;
    static const std::vector<Row> table{
        {{0, 201, 202, 1001, 256000}, {Y, Y, Y, Y, Y, Y}},
        {{203, 204, 205, 206}, {N, Y, Y, Y, Y, Y}},
        {{1, 2, 3, 5, 6, 7, 8, 14}, {N, N, Y, Y, Y, N}},
        {{9, 10, 11, 12, 13}, {Y, Y, Y, Y, Y, Y}},
        {{301, 304, 305}, {N, N, Y, N, Y, N}},
        {{302}, {N, N, N, N, Y, N}},  // needs the button, the room's permission and a moderator
        {{303}, {N, N, N, N, N, Y}},
        {{501, 502, 504, 508, 516}, {N, Y, Y, Y, Y, Y}},
        {{520, 521, 522}, {N, N, Y, Y, Y, N}},
        {{701, 702}, {Y, Y, Y, Y, Y, Y}},
        {{703, 704, 705}, {N, N, Y, Y, Y, N}},
        {{706}, {N, Y, Y, N, Y, Y}},
        {{801}, {N, N, N, N, N, Y}},
        {{802}, {Y, Y, Y, Y, Y, Y}},
        {{4, 15, 200, 207, 300, 306, 500, 517, 519, 523, 700, 707, 800, 803, 1000, -1}, {N, N, N, N, N, N}},
    };
    return table;
}

TEST(MenuRulesTest, EnablesEachTagInExactlyItsSituations) {
    for (const Row& row : rows()) {
        for (const int tag : row.tags) {
            for (int s = 0; s < SituationCount; ++s) {
                EXPECT_EQ(isMenuItemEnabled(tag, contextOf(static_cast<Situation>(s))), row.enabled[static_cast<std::size_t>(s)])
                    << "tag " << tag << " in situation " << s;
            }
        }
    }
}

TEST(MenuRulesTest, ScreenShareNeedsAllThreeConditions) {
    const MenuContext all{true, true, 1000, true, true, false, false};
    EXPECT_TRUE(isMenuItemEnabled(MenuTag::ShareScreen, all));
    MenuContext c = all;
    c.screenShareButtonEnabled = false;
    EXPECT_FALSE(isMenuItemEnabled(MenuTag::ShareScreen, c));
    c = all;
    c.roomAllowsAppShare = false;
    EXPECT_FALSE(isMenuItemEnabled(MenuTag::ShareScreen, c));
    c = all;
    c.ownUserType = 0;
    EXPECT_FALSE(isMenuItemEnabled(MenuTag::ShareScreen, c));
}

}  // namespace
}  // namespace veltrin
