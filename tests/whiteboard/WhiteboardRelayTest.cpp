#include <gtest/gtest.h>

#include "tests/server/ServerTestSupport.h"
#include "wire/PaintObjectHeader.h"

namespace veltrin::server::test {
namespace {

constexpr std::int32_t kRoom = 1001;

Bytes updatePayload(std::int32_t updateType, std::int32_t claimedSize, std::size_t bodySize) {
    TPaintObjectHeader h;
    h.UserId = 101;
    h.UpdateType = updateType;
    h.BoardIndex = 0;
    h.LocalIndex = 1;
    h.ObjectSize = claimedSize;
    Bytes out;
    h.writeToMD(out);
    out.resize(out.size() + bodySize, 0x5a);
    return out;
}

class WhiteboardRelayTest : public ServerFixture {};

TEST_F(WhiteboardRelayTest, ObjectCommandsReachTheOthersUnlessMalformed) {
    auto teacher = logOn("teacher", kRoom);
    auto student = logOn("student1", kRoom);
    receivedUntilAnswer(*teacher);
    receivedUntilAnswer(*student);

    struct Case {
        const char* name;
        std::uint16_t id;
        Bytes payload;
        bool relayed;
    };
    const Case cases[] = {
        {"new object", 158, updatePayload(0, 10, 10), true},
        {"delete", 158, updatePayload(2, 0, 0), true},
        {"body shorter than claimed", 158, updatePayload(1, 50, 10), false},
        {"header cut short", 158, Bytes(20, 0), false},
        {"reorder", 161, Bytes(16, 0), true},
        {"reorder cut short", 161, Bytes(12, 0), false},
        {"pointer", 56, Bytes(17, 0), true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(teacher->sendFrame(c.id, c.payload)) << c.name;
        receivedUntilAnswer(*teacher);
        std::vector<Frame> seen = receivedUntilAnswer(*student);
        const auto hits = std::count_if(seen.begin(), seen.end(), [&](const Frame& f) {
            return f.header.CommandID == c.id && f.payload == c.payload && static_cast<std::int32_t>(f.header.UserID) == teacher->uid();
        });
        EXPECT_EQ(hits, c.relayed ? 1 : 0) << c.name;
    }
}

}  // namespace
}  // namespace veltrin::server::test
