#include <gtest/gtest.h>

#include "ServerTestSupport.h"

namespace veltrin::server::test {
namespace {

using testkit::decodeJoinAnswer;
using testkit::decodeStatusPacks;
using testkit::decodeUserList;
using testkit::intPayload;
using testkit::tokenPayload;

class SessionTest : public ServerFixture {};

TEST_F(SessionTest, JoinAnswersRoomHeaderAndClientRecord) {
    auto teacher = logOn("teacher", 1001);
    auto student = logOn("student1");
    auto frame = student->join(1001);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->header.Result, 0);
    EXPECT_EQ(frame->header.UserID, static_cast<std::uint32_t>(student->uid()));
    EXPECT_EQ(frame->header.RoomIndex, 1001);
    EXPECT_EQ(frame->payload.size(), 4u + 21 + 4 + 21 + 4 + 1430 + 1119);

    auto join = decodeJoinAnswer(*frame);
    ASSERT_TRUE(join);
    EXPECT_EQ(join->roomId, 1001);
    EXPECT_EQ(join->audioHost, "127.0.0.1");
    EXPECT_EQ(join->audioPort, server_.port());
    EXPECT_EQ(join->videoPort, server_.port());
    const TRoomHeader& h = join->room;
    EXPECT_EQ(h.ID, 1001);
    EXPECT_EQ(h.Name, "Demo Classroom");
    EXPECT_EQ(h.MikesCount, 2);
    EXPECT_EQ(h._countNow, 2);  // the teacher and the joiner
    EXPECT_TRUE(h.AllowRecordings);
    EXPECT_TRUE(h.AllowAppShare);
    EXPECT_TRUE(h.AllowVideo);
    EXPECT_TRUE(h.SecretCode.empty());
    EXPECT_EQ(join->client.UID, student->uid());
    EXPECT_EQ(join->client.UserName, "student1");
    EXPECT_EQ(join->client.RoomIndex, 1001);
}

TEST_F(SessionTest, JoinIsRefusedWithAReasonAndNoPayload) {
    struct Case {
        Bytes payload;
        int result;
    };
    const Case cases[] = {
        {intPayload({4242}), 1},  // no such room
        {intPayload({-1}), 1},
        {Bytes{0xE9, 0x03}, 1},   // too short to hold a room id
        {intPayload({1004}), 2},  // inactive
        {intPayload({1003}), 3},  // needs an entry token
    };
    auto c = logOn("student1");
    for (const auto& k : cases) {
        ASSERT_TRUE(c->sendFrame(75, k.payload));
        auto answer = c->waitFor(75);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->header.Result, k.result) << k.result;
        EXPECT_EQ(answer->header.DataSize, 0u);
    }
    EXPECT_EQ(server_.stats().joinsDenied, std::size(cases));
    // A refusal leaves the connection usable.
    auto ok = c->join(1001);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->header.Result, 0);
}

TEST_F(SessionTest, EntryTokensOpenTheirRoomOnce) {
    struct Step {
        const char* user;
        std::int32_t room;  // the RoomIndex the token is sent with
        const char* token;
        int tokenResult;
        int joinResult;
    };
    const Step steps[] = {
        {"student1", 1003, "tok-1003", 0, 0},
        {"student2", 1003, "tok-1003", 1, 3},  // already used
        {"student2", 1003, "made-up", 2, 3},   // unknown, and the room needs one
        {"student3", 1003, "tok-1001", 2, 3},  // a token of another room
        {"student3", 1001, "made-up", 0, 0},   // rooms without the requirement let any token pass
        {"admin", 1001, "tok-1001", 0, 0},
        {"teacher", 1001, "tok-1001", 1, 0},  // used twice is refused even where not required
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.user) + " " + s.token);
        auto c = logOn(s.user);
        c->setRoomId(s.room);
        ASSERT_TRUE(c->sendFrame(164, tokenPayload(s.token)));
        auto answer = c->waitFor(164);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->header.Result, s.tokenResult);
        auto join = c->join(s.room);
        ASSERT_TRUE(join);
        EXPECT_EQ(join->header.Result, s.joinResult);
    }
}

TEST_F(SessionTest, ParticipantListAndStatusPacksCoverTheRoomOnly) {
    auto teacher = logOn("teacher", 1001);
    auto student = logOn("student1", 1001);
    auto elsewhere = logOn("student2", 1002);

    ASSERT_TRUE(student->sendFrame(2));
    auto list = student->waitFor(2);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->header.Result, 0);
    auto users = decodeUserList(*list);
    ASSERT_TRUE(users);
    ASSERT_EQ(users->size(), 2u);
    EXPECT_EQ((*users)[0].UID, teacher->uid());
    EXPECT_EQ((*users)[0].UserName, "teacher");
    EXPECT_EQ((*users)[0].UserTypeID, 1000);
    EXPECT_EQ((*users)[0].FullName, "Terry Teacher");
    EXPECT_EQ((*users)[1].UID, student->uid());
    EXPECT_EQ((*users)[1].UserTypeID, 0);

    ASSERT_TRUE(student->sendFrame(115));
    auto packs = student->waitFor(115);
    ASSERT_TRUE(packs);
    ASSERT_EQ(packs->payload.size(), 2u * 15);
    const auto p = decodeStatusPacks(*packs);
    EXPECT_EQ(p[0].UID, teacher->uid());
    EXPECT_EQ(p[0].Mike_Status, 2);  // a moderator may speak
    EXPECT_TRUE(p[0].Board_BoardAllowed);
    EXPECT_EQ(p[1].UID, student->uid());
    EXPECT_EQ(p[1].Mike_Status, 3);  // an attendee waits for permission
    EXPECT_FALSE(p[1].Board_BoardAllowed);
}

TEST_F(SessionTest, AnswersTheSessionRequests) {
    auto c = logOn("student1", 1001);
    struct Case {
        std::uint16_t id;
        std::size_t size;
    };
    // 113 remote ports, 150 host account type, 152 account data.
    for (const Case k : {Case{113, 8}, Case{150, 8}, Case{152, 604}}) {
        ASSERT_TRUE(c->sendFrame(k.id));
        auto answer = c->waitFor(k.id);
        ASSERT_TRUE(answer) << k.id;
        EXPECT_EQ(answer->header.Result, 0) << k.id;
        EXPECT_EQ(answer->payload.size(), k.size) << k.id;
        if (k.id == 152) {
            MemoryInputStream in(answer->payload);
            TAccountDataEx data;
            data.readFromStream(in);
            EXPECT_EQ(data.CompanyName, demoConfig().company.name);
        }
    }
    EXPECT_TRUE(c->skipped().empty());
}

TEST_F(SessionTest, KeepAliveAndPendingRequestsAreNotAnsweredNorRelayed) {
    auto a = logOn("teacher", 1001);
    auto b = logOn("student1", 1001);
    receivedUntilAnswer(*a);  // b's arrival notice
    const auto relayedBefore = server_.stats().relayed;
    // The client's keep-alive and the requests whose features answer later.
    for (std::uint16_t id : {57, 57, 95, 121, 140, 148}) ASSERT_TRUE(a->sendFrame(id));
    ASSERT_TRUE(a->sendFrame(2));
    auto first = a->readFrame();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->header.CommandID, 2);

    // b sees nothing of it: its first frame is the answer to its own request.
    ASSERT_TRUE(b->sendFrame(150));
    auto bFirst = b->readFrame();
    ASSERT_TRUE(bFirst);
    EXPECT_EQ(bFirst->header.CommandID, 150);
    EXPECT_EQ(server_.stats().relayed, relayedBefore);
}

TEST_F(SessionTest, SecondLogOnOfAUserEndsTheFirstConnection) {
    auto first = logOn("teacher", 1001);
    auto other = logOn("student1", 1001);
    auto second = logOn("teacher");

    ASSERT_TRUE(first->waitFor(33));
    EXPECT_TRUE(first->waitClosed());

    auto join = second->join(1001);
    ASSERT_TRUE(join);
    EXPECT_EQ(join->header.Result, 0);
    ASSERT_TRUE(other->sendFrame(2));
    auto list = other->waitFor(2);
    ASSERT_TRUE(list);
    auto users = decodeUserList(*list);
    ASSERT_TRUE(users);
    ASSERT_EQ(users->size(), 2u);  // the earlier teacher connection has left the room
    EXPECT_EQ((*users)[0].UserName, "student1");
    EXPECT_EQ((*users)[1].UserName, "teacher");
    EXPECT_EQ(server_.control("users"), "users teacher:101:1001 student1:102:1001");
}

TEST_F(SessionTest, RelaysToTheRestOfTheRoomInTheSendersName) {
    auto a = logOn("teacher", 1001);
    auto b = logOn("student1", 1001);
    auto c = logOn("student2", 1001);
    auto far = logOn("student3", 1002);
    auto lobby = logOn("admin");  // logged on, in no room
    for (RawClient* joined : {a.get(), b.get(), c.get()}) receivedUntilAnswer(*joined);  // arrival notices
    const auto relayedBefore = server_.stats().relayed;

    const Bytes payload = {1, 2, 3, 4, 5, 6, 7};
    TCommand spoofed(kPlainRelayId, 9999, 1001, static_cast<std::uint32_t>(payload.size()));
    spoofed.Result = 7;
    ASSERT_TRUE(a->sendFrame(spoofed, payload));
    ASSERT_TRUE(lobby->sendFrame(kPlainRelayId, payload));  // from outside any room: goes nowhere

    for (RawClient* receiver : {b.get(), c.get()}) {
        auto got = receiver->readFrame();
        ASSERT_TRUE(got);
        EXPECT_EQ(got->header.CommandID, kPlainRelayId);
        EXPECT_EQ(got->header.UserID, static_cast<std::uint32_t>(a->uid()));
        EXPECT_EQ(got->header.RoomIndex, 1001);
        EXPECT_EQ(got->header.Result, 7);
        EXPECT_EQ(got->payload, payload);
    }
    // Neither the sender, the other room nor the lobby got a copy: their next frame answers
    // their own request, which they send only after the relay has been queued.
    for (RawClient* other : {a.get(), far.get(), lobby.get()}) {
        ASSERT_TRUE(other->sendFrame(150));
        auto next = other->readFrame();
        ASSERT_TRUE(next);
        EXPECT_EQ(next->header.CommandID, 150);
    }
    EXPECT_EQ(server_.stats().relayed, relayedBefore + 2);
}

TEST_F(SessionTest, CommandsOnlyTheServerSendsAreNotRelayed) {
    auto forger = logOn("student1", 1001);
    auto victim = logOn("teacher", 1001);
    // Log-in and part notices, the second-log-on notice, permission broadcasts, video on/off,
    // room-change notices.
    for (std::uint16_t id : {12, 13, 33, 45, 46, 47, 48, 107, 108, 136, 153})
        ASSERT_TRUE(forger->sendFrame(id, intPayload({victim->uid()})));
    ASSERT_TRUE(forger->sendFrame(kPlainRelayId, intPayload({1})));
    auto first = victim->readFrame();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->header.CommandID, kPlainRelayId);
}

TEST_F(SessionTest, OnlyModeratorsRemoveParticipantsAndOnlyTheTargetIsTold) {
    auto teacher = logOn("teacher", 1001);
    auto bystander = logOn("student1", 1001);
    auto target = logOn("student2", 1001);
    auto kick = [](std::int32_t uid, const std::string& reason) {
        Bytes p = intPayload({uid});
        VCTools::writeFixedStringMD(p, reason, 49);
        return p;
    };
    // An attendee cannot remove anybody; the attempt reaches no one.
    ASSERT_TRUE(bystander->sendFrame(60, kick(target->uid(), "go away")));
    ASSERT_TRUE(teacher->sendFrame(60, kick(target->uid(), "Please rejoin later")));

    auto removal = target->readFrame();
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal->header.CommandID, 60);
    EXPECT_EQ(removal->header.UserID, static_cast<std::uint32_t>(teacher->uid()));
    MemoryInputStream in(removal->payload);
    EXPECT_EQ(VCTools::readInt(in), target->uid());
    EXPECT_EQ(VCTools::readFixedString(in, 49), "Please rejoin later");
    EXPECT_TRUE(target->waitClosed());

    for (RawClient* other : {teacher.get(), bystander.get()})
        for (const Frame& f : receivedUntilAnswer(*other)) EXPECT_NE(f.header.CommandID, 60);
    EXPECT_EQ(server_.control("users"), "users teacher:101:1001 student1:102:1001");
}

TEST_F(SessionTest, HeldJoinsGetNoAnswerUntilReleased) {
    EXPECT_EQ(server_.control("hold-join on"), "ok hold-join on");
    auto held = logOn("student1");
    held->setRoomId(1001);
    ASSERT_TRUE(held->sendFrame(75, intPayload({1001})));
    ASSERT_TRUE(eventually([&] { return server_.stats().joinsHeld == 1; }));
    EXPECT_EQ(server_.control("users"), "users student1:102:0");
    held->close();  // the client gives up before any answer
    ASSERT_TRUE(eventually([&] { return server_.stats().active == 0; }));

    EXPECT_EQ(server_.control("hold-join off"), "ok hold-join off");
    auto later = logOn("student1");
    auto join = later->join(1001);
    ASSERT_TRUE(join);
    EXPECT_EQ(join->header.Result, 0);
}

TEST_F(SessionTest, ControlCommandsDropUsersAndReport) {
    auto a = logOn("teacher", 1001);
    auto b = logOn("student1", 1001);
    EXPECT_EQ(server_.control("drop nobody"), "error no such user nobody");
    EXPECT_EQ(server_.control("drop student1"), "ok drop student1");
    EXPECT_TRUE(b->waitClosed());
    EXPECT_EQ(server_.control("users"), "users teacher:101:1001");
    EXPECT_EQ(server_.control("drop 101"), "ok drop 101");
    EXPECT_TRUE(a->waitClosed());
    auto c = logOn("student2");
    EXPECT_EQ(server_.control("drop-all"), "ok drop-all 1");
    EXPECT_TRUE(c->waitClosed());
    EXPECT_EQ(server_.control("frobnicate"), "error unknown command frobnicate");
    EXPECT_EQ(server_.control("hold-join maybe"), "error hold-join needs on or off");
    const std::string stats = server_.control("stats");
    EXPECT_EQ(stats.rfind("stats connections=3 active=0 logons=3 ", 0), 0u) << stats;
}

}  // namespace
}  // namespace veltrin::server::test
