#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "ServerTestSupport.h"
#include "wire/PingPacket.h"
#include "wire/TextMessage.h"

namespace veltrin::server::test {
namespace {

using testkit::decodeStatusPacks;
using testkit::intPayload;

// Demo room 1001 allows two speakers; teacher is a moderator, the students attendees.
constexpr std::int32_t kRoom = 1001;

std::int32_t intAt(const Frame& f, std::size_t index = 0) {
    MemoryInputStream in(f.payload);
    in.skip(index * 4);
    return VCTools::readInt(in);
}

Bytes textPayload(std::int32_t from, std::int32_t to, std::int32_t type, const std::string& text) {
    TTextMessage m;
    m.FromUID = from;
    m.ToUID = to;
    m.MessageType = type;
    m.Text = text;
    Bytes out;
    m.writeToMD(out);
    return out;
}

TTextMessage decodeText(const Frame& f) {
    MemoryInputStream in(f.payload);
    return VCTools::readTextMessage(in);
}

struct ReplayEntry {
    std::string name;
    TCommand frame;
    TTextMessage message;
};

std::vector<ReplayEntry> decodeReplay(const Frame& f) {
    std::vector<ReplayEntry> out;
    MemoryInputStream in(f.payload);
    while (in.buffered() > 0) {
        ReplayEntry e;
        e.name = VCTools::readStringIntSize(in);
        auto frame = VCTools::readCommand(in);
        if (!frame) break;
        e.frame = *frame;
        if (e.frame.DataSize != 0) e.message = VCTools::readTextMessage(in);
        out.push_back(std::move(e));
    }
    return out;
}

class ClassroomFeaturesTest : public ServerFixture {
protected:
    // What each of `clients` received because of what `sender` just sent. The sender is asked
    // first: once its answer is back, the server has handled its command and queued whatever
    // that caused to the others ahead of their own answers.
    std::map<const RawClient*, std::vector<Frame>> seenAfter(RawClient& sender, const std::vector<RawClient*>& clients) {
        std::map<const RawClient*, std::vector<Frame>> out;
        out[&sender] = receivedUntilAnswer(sender);
        for (RawClient* c : clients)
            if (c != &sender) out[c] = receivedUntilAnswer(*c);
        return out;
    }
    static std::vector<Frame> withId(const std::vector<Frame>& frames, std::uint16_t id) {
        std::vector<Frame> out;
        std::copy_if(frames.begin(), frames.end(), std::back_inserter(out),
                     [id](const Frame& f) { return f.header.CommandID == id; });
        return out;
    }
    TClientStatusPack packOf(RawClient& asker, std::int32_t uid) {
        EXPECT_TRUE(asker.sendFrame(115));
        auto answer = asker.waitFor(115);
        EXPECT_TRUE(answer);
        if (answer)
            for (const auto& p : decodeStatusPacks(*answer))
                if (p.UID == uid) return p;
        ADD_FAILURE() << "no status pack for " << uid;
        return {};
    }
};

TEST_F(ClassroomFeaturesTest, OthersHearOfArrivalsWithStatusAndOfDepartures) {
    auto teacher = logOn("teacher", kRoom);
    auto student = logOn("student1", kRoom);

    auto notice = teacher->waitFor(153);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->header.UserID, static_cast<std::uint32_t>(student->uid()));
    MemoryInputStream in(notice->payload);
    const TUserItem item = VCTools::readUserItem(in);
    const TClientStatusPack pack = VCTools::readStatusPack(in);
    EXPECT_EQ(item.UserName, "student1");
    EXPECT_EQ(item.UserTypeID, 0);
    EXPECT_EQ(pack.UID, student->uid());
    EXPECT_EQ(pack.Mike_Status, 3);  // attendees start without microphone and whiteboard
    EXPECT_FALSE(pack.Board_BoardAllowed);
    EXPECT_TRUE(withId(receivedUntilAnswer(*student), 153).empty()) << "nobody is told of their own arrival";

    auto other = logOn("student2", kRoom);
    ASSERT_TRUE(student->waitFor(153));
    student->close();
    ASSERT_TRUE(server_.control("drop student2").starts_with("ok"));
    std::set<std::uint32_t> gone;
    for (int i = 0; i < 2; ++i) {
        auto part = teacher->waitFor(13);
        ASSERT_TRUE(part);
        gone.insert(part->header.UserID);
    }
    EXPECT_EQ(gone, (std::set<std::uint32_t>{102, 103}));
}

TEST_F(ClassroomFeaturesTest, RaisedHandsAreNumberedByQueueAndRenumberedWhenOneIsLowered) {
    auto teacher = logOn("teacher", kRoom);
    auto s1 = logOn("student1", kRoom);
    auto s2 = logOn("student2", kRoom);
    auto s3 = logOn("student3", kRoom);
    struct Step {
        RawClient* mover;
        std::int32_t motion;
        // What everybody sees, in order: (uid, motion value).
        std::vector<std::pair<std::int32_t, std::int32_t>> seen;
    };
    const Step steps[] = {
        {s1.get(), 1, {{102, 1001}}},
        {s2.get(), 1, {{103, 1002}}},
        {s3.get(), 8, {{104, 8}}},
        {s3.get(), 1, {{104, 1003}}},
        {s2.get(), 1, {{103, 1002}}},  // raising again keeps the place
        {s1.get(), 0, {{102, 0}, {103, 1001}, {104, 1002}}},
        {s1.get(), 1, {{102, 1003}}},
        {s3.get(), 2, {{104, 2}, {102, 1002}}},
        {s1.get(), 1001, {}},  // queue values come from the server only
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.mover->uid() << " moves " << step.motion);
        ASSERT_TRUE(step.mover->sendFrame(117, intPayload({step.motion})));
        auto seen = seenAfter(*step.mover, {teacher.get(), s1.get(), s2.get(), s3.get()});
        for (const auto& [watcher, frames] : seen) {
            const auto motions = withId(frames, 117);
            ASSERT_EQ(motions.size(), step.seen.size());
            for (std::size_t i = 0; i < motions.size(); ++i) {
                EXPECT_EQ(motions[i].header.UserID, static_cast<std::uint32_t>(step.seen[i].first));
                EXPECT_EQ(intAt(motions[i]), step.seen[i].second);
            }
        }
    }
    EXPECT_EQ(packOf(*teacher, 103).MotionStatus, 1001);
    EXPECT_EQ(packOf(*teacher, 102).MotionStatus, 1002);

    // A moderator takes a hand down in its owner's name; the hand behind it moves up.
    ASSERT_TRUE(teacher->sendFrame(167, intPayload({103, 0})));
    const auto forced = withId(seenAfter(*teacher, {s3.get()})[s3.get()], 117);
    ASSERT_EQ(forced.size(), 2u);
    EXPECT_EQ(forced[0].header.UserID, 103u);
    EXPECT_EQ(intAt(forced[0]), 0);
    EXPECT_EQ(forced[1].header.UserID, 102u);
    EXPECT_EQ(intAt(forced[1]), 1001);

    // A departing hand is taken back before the part notice, so the others' counts stay right.
    s1->close();
    auto takeBack = teacher->waitFor(117);
    ASSERT_TRUE(takeBack);
    EXPECT_EQ(takeBack->header.UserID, 102u);
    EXPECT_EQ(intAt(*takeBack), 0);
    EXPECT_TRUE(teacher->waitFor(13));
}

// Every moderator command, sent first by an attendee (nobody hears of it and nothing changes),
// then by the moderator (the room sees it).
TEST_F(ClassroomFeaturesTest, ModeratorCommandsFromAttendeesAreIgnored) {
    auto teacher = logOn("teacher", kRoom);
    auto attendee = logOn("student1", kRoom);
    auto target = logOn("student2", kRoom);
    TPingPacket ping;
    ping.PingType = 1;
    Bytes pingPayload;
    ping.writeToMD(pingPayload);
    struct Case {
        std::uint16_t command;
        Bytes payload;
        std::uint16_t seenAs;  // what the target receives once a moderator sends it
    };
    const Case cases[] = {
        {41, intPayload({103}), 41},        {42, intPayload({103}), 42},     {43, intPayload({103}), 43},
        {44, intPayload({103}), 44},        {99, intPayload({103, 1000}), 99}, {36, {}, 36},
        {167, intPayload({103, 0}), 117},   {125, intPayload({1}), 125},     {129, intPayload({3}), 129},
        {138, intPayload({1}), 138},        {163, {}, 163},                  {118, intPayload({2}), 118},
        {63, pingPayload, 63},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const TClientStatusPack before = packOf(*teacher, 103);
        ASSERT_TRUE(attendee->sendFrame(c.command, c.payload));
        auto seen = seenAfter(*attendee, {target.get(), teacher.get()});
        EXPECT_TRUE(withId(seen[target.get()], c.seenAs).empty());
        EXPECT_TRUE(withId(seen[teacher.get()], c.seenAs).empty());
        EXPECT_EQ(packOf(*teacher, 103), before);

        ASSERT_TRUE(teacher->sendFrame(c.command, c.payload));
        auto obeyed = target->waitFor(c.seenAs);
        ASSERT_TRUE(obeyed);
        // The moderator's own frame carries its uid; a forced motion is the target's own.
        EXPECT_EQ(obeyed->header.UserID, c.command == 167 ? 103u : 101u);
    }
    // The promotion took: the status pack and the promoted one's moderator commands show it.
    EXPECT_TRUE(packOf(*teacher, 103).Board_BoardAllowed);
    ASSERT_TRUE(target->sendFrame(118, intPayload({5})));
    auto view = teacher->waitFor(118);
    ASSERT_TRUE(view);
    EXPECT_EQ(intAt(*view), 5);
}

TEST_F(ClassroomFeaturesTest, ModeratorToggleSetsRoleAndPermissionsButKeepsASpeaker) {
    auto teacher = logOn("teacher", kRoom);
    auto student = logOn("student1", kRoom);
    ASSERT_TRUE(teacher->sendFrame(99, intPayload({102, 1000})));
    auto toggle = student->waitFor(99);
    ASSERT_TRUE(toggle);
    EXPECT_EQ(intAt(*toggle, 0), 102);
    EXPECT_EQ(intAt(*toggle, 1), 1000);
    TClientStatusPack pack = packOf(*teacher, 102);
    EXPECT_EQ(pack.Mike_Status, 2);
    EXPECT_TRUE(pack.Board_BoardAllowed);

    ASSERT_TRUE(student->sendFrame(6));
    ASSERT_TRUE(student->waitFor(6));
    ASSERT_TRUE(teacher->sendFrame(99, intPayload({102, 0})));
    ASSERT_TRUE(student->waitFor(99));
    pack = packOf(*teacher, 102);
    EXPECT_EQ(pack.Mike_Status, 4);
    EXPECT_FALSE(pack.Board_BoardAllowed);
    // Demoted: moderator commands are no longer obeyed.
    ASSERT_TRUE(student->sendFrame(36));
    EXPECT_TRUE(withId(seenAfter(*student, {teacher.get()})[teacher.get()], 36).empty());
}

TEST_F(ClassroomFeaturesTest, SpeakingChannelsAreLimitedByTheRoomsMicrophoneCount) {
    auto teacher = logOn("teacher", kRoom);
    auto s1 = logOn("student1", kRoom);
    auto s2 = logOn("student2", kRoom);
    ASSERT_TRUE(teacher->sendFrame(125, intPayload({1})));
    for (RawClient* c : {teacher.get(), s1.get(), s2.get()}) {
        auto count = c->waitFor(125);
        ASSERT_TRUE(count);
        EXPECT_EQ(intAt(*count), 1);
    }
    struct Step {
        RawClient* who;
        std::uint16_t command;
        std::int32_t arg;
        bool granted;  // for 6: the room sees the speaker; otherwise the asker alone is refused
    };
    const Step steps[] = {
        {s1.get(), 6, 0, false},            // microphone forbidden
        {teacher.get(), 41, 102, true},     // allow it
        {teacher.get(), 6, 0, true},        // the one microphone
        {s1.get(), 6, 0, false},            // none left
        {teacher.get(), 7, 0, true},
        {s1.get(), 6, 0, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.who->uid() << " sends " << s.command);
        ASSERT_TRUE(s.command == 41 ? s.who->sendFrame(41, intPayload({s.arg})) : s.who->sendFrame(s.command));
        auto seen = seenAfter(*s.who, {teacher.get(), s1.get(), s2.get()});
        const auto mine = withId(seen[s.who], s.command);
        ASSERT_EQ(mine.size(), 1u);
        EXPECT_EQ(mine[0].header.UserID, static_cast<std::uint32_t>(s.who->uid()));
        EXPECT_EQ(mine[0].header.Result == 0, s.granted);
        const auto others = withId(seen[s2.get()], s.command);
        EXPECT_EQ(others.size(), s.granted ? 1u : 0u);
    }
    EXPECT_EQ(packOf(*s2, 102).Mike_Status, 4);
    EXPECT_EQ(packOf(*s2, 101).Mike_Status, 2);

    // Forbidding a speaker's microphone ends its channel first.
    ASSERT_TRUE(teacher->sendFrame(43, intPayload({102})));
    const auto seen = seenAfter(*teacher, {s2.get()})[s2.get()];
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].header.CommandID, 7);
    EXPECT_EQ(seen[0].header.UserID, 102u);
    EXPECT_EQ(seen[1].header.CommandID, 43);
    EXPECT_EQ(packOf(*s2, 102).Mike_Status, 3);

    // A newcomer's room header carries the changed count.
    auto late = std::make_unique<RawClient>();
    ASSERT_EQ(late->open("127.0.0.1", server_.port(), "student3", "student3"), 0);
    auto join = late->join(kRoom);
    ASSERT_TRUE(join);
    auto answer = testkit::decodeJoinAnswer(*join);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->room.MikesCount, 1);
}

TEST_F(ClassroomFeaturesTest, MessagesGoToEverybodyOrToReceiverAndSenderOnly) {
    auto teacher = logOn("teacher", kRoom);
    auto s1 = logOn("student1", kRoom);
    auto s2 = logOn("student2", kRoom);
    auto far = logOn("student3", 1002);
    struct Case {
        std::uint16_t command;
        std::int32_t type;
        std::int32_t to;
        std::vector<RawClient*> receivers;
        std::vector<RawClient*> bystanders;
    };
    const Case cases[] = {
        {130, 0, 0, {teacher.get(), s1.get(), s2.get()}, {far.get()}},
        {131, 1, 103, {s1.get(), s2.get()}, {teacher.get(), far.get()}},
        {130, 5, 0, {teacher.get(), s1.get(), s2.get()}, {far.get()}},
        {130, 5, 101, {s1.get(), teacher.get()}, {s2.get(), far.get()}},
        {131, 1, 104, {}, {teacher.get(), s1.get(), s2.get(), far.get()}},  // receiver in another room
        {130, 10, 0, {}, {teacher.get(), s1.get(), s2.get(), far.get()}},   // local kinds never travel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " to " << c.to);
        // The sender claims to be somebody else; the server puts its real uid in.
        ASSERT_TRUE(s1->sendFrame(c.command, textPayload(101, c.to, c.type, "Hi there")));
        auto seen = seenAfter(*s1, {teacher.get(), s2.get(), far.get()});
        for (RawClient* r : c.receivers) {
            const auto got = withId(seen[r], c.command);
            ASSERT_EQ(got.size(), 1u);
            EXPECT_EQ(got[0].header.UserID, 102u);
            const TTextMessage m = decodeText(got[0]);
            EXPECT_EQ(m.FromUID, 102);
            EXPECT_EQ(m.ToUID, c.to);
            EXPECT_EQ(m.MessageType, c.type);
            EXPECT_EQ(m.Text, "Hi there");
        }
        for (RawClient* b : c.bystanders) EXPECT_TRUE(withId(seen[b], c.command).empty());
    }
    // A record whose text size runs past the payload goes nowhere.
    Bytes cut = textPayload(102, 0, 0, "Hello");
    cut.resize(cut.size() - 4);
    ASSERT_TRUE(s1->sendFrame(130, cut));
    EXPECT_TRUE(withId(seenAfter(*s1, {teacher.get()})[teacher.get()], 130).empty());
}

TEST_F(ClassroomFeaturesTest, ChatStatusHoldsBackAttendeesButNotModerators) {
    auto teacher = logOn("teacher", kRoom);
    auto student = logOn("student1", kRoom);
    struct Case {
        std::uint16_t setCommand;
        std::int32_t code;
        RawClient* sender;
        std::int32_t type;
        std::int32_t to;
        bool delivered;
    };
    const Case cases[] = {
        {129, 3, student.get(), 0, 0, false},    {129, 3, teacher.get(), 0, 0, true},
        {129, 1, student.get(), 0, 0, true},     {129, 1, student.get(), 1, 101, false},
        {129, 0, student.get(), 1, 101, true},   {138, 1, student.get(), 5, 0, false},
        {138, 1, teacher.get(), 5, 102, true},   {138, 0, student.get(), 5, 101, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.setCommand << "=" << c.code << " type " << c.type);
        ASSERT_TRUE(teacher->sendFrame(c.setCommand, intPayload({c.code})));
        ASSERT_TRUE(student->waitFor(c.setCommand));
        const std::uint16_t ask = c.setCommand == 129 ? 128 : 139;
        ASSERT_TRUE(student->sendFrame(ask));
        auto status = student->waitFor(ask);
        ASSERT_TRUE(status);
        EXPECT_EQ(intAt(*status), c.code);

        const std::uint16_t command = c.type == 1 ? 131 : 130;
        ASSERT_TRUE(c.sender->sendFrame(command, textPayload(0, c.to, c.type, "x")));
        RawClient* other = c.sender == teacher.get() ? student.get() : teacher.get();
        EXPECT_EQ(withId(seenAfter(*c.sender, {other})[other], command).size(), c.delivered ? 1u : 0u);
    }
}

TEST_F(ClassroomFeaturesTest, LateJoinerGetsTheChatLogItMaySee) {
    auto teacher = logOn("teacher", kRoom);
    auto s1 = logOn("student1", kRoom);
    ASSERT_TRUE(teacher->sendFrame(130, textPayload(101, 0, 0, "Welcome, everybody")));
    ASSERT_TRUE(s1->sendFrame(131, textPayload(102, 101, 1, "A question for you")));
    ASSERT_TRUE(s1->sendFrame(130, textPayload(102, 0, 5, "Room note")));
    ASSERT_TRUE(teacher->waitFor(131));
    ASSERT_TRUE(teacher->waitFor(130));

    auto late = logOn("student2", kRoom);
    ASSERT_TRUE(late->sendFrame(162));
    auto log = late->waitFor(162);
    ASSERT_TRUE(log);
    auto entries = decodeReplay(*log);
    ASSERT_EQ(entries.size(), 2u);  // the private message is not the newcomer's to see
    EXPECT_EQ(entries[0].name, "Terry Teacher");
    EXPECT_EQ(entries[0].frame.CommandID, 130);
    EXPECT_EQ(entries[0].frame.UserID, 101u);
    EXPECT_EQ(entries[0].frame.DataSize, static_cast<std::uint32_t>(entries[0].message.getSize() + 1));
    EXPECT_EQ(entries[0].message.Text, "Welcome, everybody");
    EXPECT_EQ(entries[1].name, "Sam Student");
    EXPECT_EQ(entries[1].message.MessageType, 5);

    ASSERT_TRUE(teacher->sendFrame(162));
    auto own = teacher->waitFor(162);
    ASSERT_TRUE(own);
    ASSERT_EQ(decodeReplay(*own).size(), 3u);

    // Clearing for all empties the chat everywhere; the notes stay.
    ASSERT_TRUE(teacher->sendFrame(163));
    for (RawClient* c : {teacher.get(), s1.get(), late.get()}) ASSERT_TRUE(c->waitFor(163));
    ASSERT_TRUE(late->sendFrame(162));
    log = late->waitFor(162);
    ASSERT_TRUE(log);
    entries = decodeReplay(*log);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].message.Text, "Room note");
}

TEST_F(ClassroomFeaturesTest, SignalsReachTheirAddressees) {
    auto teacher = logOn("teacher", kRoom);
    auto s1 = logOn("student1", kRoom);
    auto s2 = logOn("student2", kRoom);
    TPingPacket ping;
    ping.FromID = 102;  // forged; answers must go to the real asker
    ping.ToID = 103;
    ping.PingType = 2;
    ping.Text = "Ready?";
    Bytes pingPayload;
    ping.writeToMD(pingPayload);
    struct Case {
        RawClient* sender;
        std::uint16_t command;
        Bytes payload;
        std::vector<RawClient*> receivers;
        std::vector<RawClient*> bystanders;
    };
    const Case cases[] = {
        {s1.get(), 151, intPayload({1}), {teacher.get(), s2.get()}, {s1.get()}},
        {s1.get(), 55, intPayload({101}), {teacher.get()}, {s1.get(), s2.get()}},
        {teacher.get(), 63, pingPayload, {s2.get()}, {teacher.get(), s1.get()}},
        {s2.get(), 64, Bytes{1}, {teacher.get(), s1.get(), s2.get()}, {}},
        {teacher.get(), 118, intPayload({3}), {teacher.get(), s1.get(), s2.get()}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(c.sender->sendFrame(c.command, c.payload));
        auto seen = seenAfter(*c.sender, {teacher.get(), s1.get(), s2.get()});
        for (RawClient* r : c.receivers) {
            const auto got = withId(seen[r], c.command);
            ASSERT_EQ(got.size(), 1u);
            EXPECT_EQ(got[0].header.UserID, static_cast<std::uint32_t>(c.sender->uid()));
            if (c.command == 63) {
                MemoryInputStream in(got[0].payload);
                TPingPacket delivered;
                delivered.readFromStream(in);
                EXPECT_EQ(delivered.FromID, 101);
                EXPECT_EQ(delivered.Text, "Ready?");
            }
        }
        for (RawClient* b : c.bystanders) EXPECT_TRUE(withId(seen[b], c.command).empty());
    }
    EXPECT_EQ(packOf(*teacher, 103).OnlineStatus, 1);
    ASSERT_TRUE(s2->sendFrame(119, intPayload({0})));
    auto view = s2->waitFor(119);
    ASSERT_TRUE(view);
    EXPECT_EQ(intAt(*view), 3);
}

}  // namespace
}  // namespace veltrin::server::test
