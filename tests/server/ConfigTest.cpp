#include <gtest/gtest.h>

#include "server/core/Config.h"

namespace veltrin::server {
namespace {

TEST(ConfigLineTest, SplitsWordsQuotesOptionsAndComments) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"", {}},
        {"   # only a comment", {}},
        {"account a b 0 \"Full Name\"", {"account", "a", "b", "0", "Full Name"}},
        {"room 7 \"A \\\"quoted\\\" name\" topic=\"x y\"  # tail", {"room", "7", "A \"quoted\" name", "topic=x y"}},
        {"token 1 \"#not-a-comment\"", {"token", "1", "#not-a-comment"}},
        {"a \"\" b", {"a", "", "b"}},
        {"tab\tseparated\r", {"tab", "separated"}},
    };
    for (const auto& c : cases) {
        auto words = splitConfigLine(c.line);
        ASSERT_TRUE(words) << c.line;
        EXPECT_EQ(*words, c.words) << c.line;
    }
    EXPECT_FALSE(splitConfigLine("room 1 \"open"));
}

TEST(ConfigTest, ReadsEveryEntry) {
    const auto parsed = parseConfig(R"(
# a complete file
version 8.1 Apr-01-2015 result=21 payload=no
company "Acme School" id=7 moderators=3 lang=de host-type=2 host-value=9
account teacher secret 1000 "Terry Teacher" uid=500 display=Terry email=t@x.invalid
account pupil pw 0 "Pat Pupil"
room 1001 "Demo Classroom" mikes=3 capacity=10 active=no tokens=required recordings=no appshare=yes video=no welcome="http://w.invalid/" topic="Maths"
token 1001 one-time
)");
    ASSERT_TRUE(parsed.config) << parsed.error.line << ": " << parsed.error.message;
    const ServerConfig& c = *parsed.config;
    EXPECT_EQ(c.version.version, "8.1");
    EXPECT_EQ(c.version.date, "Apr-01-2015");
    EXPECT_EQ(c.version.result, 21);
    EXPECT_FALSE(c.version.withPayload);
    EXPECT_EQ(c.company.name, "Acme School");
    EXPECT_EQ(c.company.id, 7);
    EXPECT_EQ(c.company.hostAccountValue, 9);

    ASSERT_EQ(c.accounts.size(), 2u);
    EXPECT_EQ(c.accounts[0].uid, 500);
    EXPECT_EQ(c.accounts[0].displayName, "Terry");
    EXPECT_EQ(c.accounts[0].fullName, "Terry Teacher");
    EXPECT_EQ(c.accounts[0].userTypeId, 1000);
    // Without an explicit uid: 100 + position, and the display name defaults to the user name.
    EXPECT_EQ(c.accounts[1].uid, 102);
    EXPECT_EQ(c.accounts[1].displayName, "pupil");

    const RoomConfig* r = c.findRoom(1001);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, "Demo Classroom");
    EXPECT_EQ(r->mikesCount, 3);
    EXPECT_EQ(r->capacity, 10);
    EXPECT_FALSE(r->active);
    EXPECT_TRUE(r->tokensRequired);
    EXPECT_FALSE(r->allowRecordings);
    EXPECT_FALSE(r->allowVideo);
    EXPECT_EQ(r->welcomeUrl, "http://w.invalid/");
    EXPECT_EQ(r->topic, "Maths");
    ASSERT_EQ(c.tokens.size(), 1u);
    EXPECT_EQ(c.tokens[0].value, "one-time");
}

TEST(ConfigTest, ReportsTheFaultyLine) {
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"nonsense here", 1},
        {"\naccount a b notanumber \"A\"", 2},
        {"account a b 0", 1},
        {"account a b 0 \"A\"\naccount a c 0 \"B\"", 2},
        {"account a b 0 \"A\" uid=5\naccount c d 0 \"C\" uid=5", 2},
        {"room 0 \"Zero\"", 1},
        {"room 1 \"R\" mikes=many", 1},
        {"room 1 \"R\" colour=blue", 1},
        {"room 1 \"R\" tokens=sometimes", 1},
        {"room 1 \"R\"\nroom 1 \"Again\"", 2},
        {"version 8.0 Mar-01-2015 result=70000", 1},
        {"version 8.0", 1},
        {"room 1 \"R\"\ntoken 1 a\ntoken 1 a", 3},
        {"room 1 \"unterminated", 1},
        {"token 9 orphan", 0},  // names a room that does not exist: found after the last line
    };
    for (const auto& c : cases) {
        const auto parsed = parseConfig(c.text);
        EXPECT_FALSE(parsed.config) << c.text;
        EXPECT_EQ(parsed.error.line, c.line) << c.text;
        EXPECT_FALSE(parsed.error.message.empty()) << c.text;
    }
}

TEST(ConfigTest, ExampleRoomsFileIsValid) {
    const auto parsed = loadConfigFile(VELTRIN_SOURCE_DIR "/server/rooms.example");
    ASSERT_TRUE(parsed.config) << parsed.error.line << ": " << parsed.error.message;
    EXPECT_FALSE(parsed.config->accounts.empty());
    EXPECT_FALSE(parsed.config->rooms.empty());
}

TEST(ConfigTest, DemoHasTheDocumentedAccountsAndRoom) {
    const ServerConfig c = demoConfig();
    const Account* teacher = c.findAccount("teacher");
    ASSERT_TRUE(teacher);
    EXPECT_EQ(teacher->password, "teacher");
    EXPECT_EQ(teacher->userTypeId, 1000);
    for (const char* name : {"student1", "student2", "student3"}) {
        const Account* a = c.findAccount(name);
        ASSERT_TRUE(a) << name;
        EXPECT_EQ(a->userTypeId, 0);
    }
    const Account* admin = c.findAccount("admin");
    ASSERT_TRUE(admin);
    EXPECT_TRUE(admin->userTypeId != 0 && admin->userTypeId != 1000);
    const RoomConfig* room = c.findRoom(1001);
    ASSERT_TRUE(room);
    EXPECT_EQ(room->name, "Demo Classroom");
    EXPECT_EQ(room->mikesCount, 2);
    EXPECT_TRUE(room->active && room->allowRecordings && room->allowAppShare && room->allowVideo);
}

}  // namespace
}  // namespace veltrin::server
