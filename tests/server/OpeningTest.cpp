#include <gtest/gtest.h>

#include "ServerTestSupport.h"
#include "wire/Handshake.h"

namespace veltrin::server::test {
namespace {

TEST(VersionExchangeTest, AnswersAsConfigured) {
    struct Case {
        const char* name;
        VersionAnswer answer;
        int expected;            // what the client's version check makes of it
        bool outdatedWithVersion;  // the client learns the server's version to find its download
        bool closes;
    };
    const Case cases[] = {
        {"same", {"8.0", "Mar-01-2015", 0, true}, 0, false, false},
        {"same date in lower case", {"8.0", "mar-01-2015", 0, true}, 0, false, false},
        {"newer server", {"8.1", "Apr-01-2015", 0, true}, 400, false, false},
        {"outdated client", {"9.0", "Jan-01-2020", 21, true}, 21, true, true},
        {"outdated, no version", {"9.0", "Jan-01-2020", 21, false}, 21, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ServerConfig config = demoConfig();
        config.version = c.answer;
        InProcessServer server(config);
        RawClient raw;
        ASSERT_TRUE(raw.connect("127.0.0.1", server.port()));
        FdInputStream in(raw.fd());
        FdOutputStream out(raw.fd());
        std::string seenVersion, seenDate;
        const int result = checkVersion(kClientVersion, kClientVersionDate, in, out,
                                        [&](const std::string& v, const std::string& d) {
                                            seenVersion = v;
                                            seenDate = d;
                                        });
        EXPECT_EQ(result, c.expected);
        if (c.outdatedWithVersion) {
            EXPECT_EQ(seenVersion, c.answer.version);
            EXPECT_EQ(seenDate, c.answer.date);
        } else {
            EXPECT_TRUE(seenVersion.empty());
        }
        if (c.closes) {
            EXPECT_TRUE(raw.waitClosed());
        } else {
            // A passed check goes on to the main channel's selector and log-on.
            ASSERT_TRUE(VCTools::writeBEInt(out, 250));
            EXPECT_EQ(LogOnUser("teacher", "teacher", in, out), 0);
        }
    }
}

TEST(VersionExchangeTest, AnswerCarriesTheServerVersion) {
    InProcessServer server;
    RawClient raw;
    ASSERT_TRUE(raw.connect("127.0.0.1", server.port()));
    ASSERT_TRUE(raw.sendVersion());
    auto answer = raw.readFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->header.Result, 0);
    ASSERT_EQ(answer->payload.size(), 32u);
    MemoryInputStream in(answer->payload);
    EXPECT_EQ(VCTools::readFixedString(in, 10), "8.0");
    EXPECT_EQ(VCTools::readFixedString(in, 20), "Mar-01-2015");
}

class LogOnTest : public ServerFixture {};

TEST_F(LogOnTest, AnswersEachCredentialCase) {
    struct Case {
        const char* user;
        const char* password;
        int result;
    };
    const Case cases[] = {
        {"teacher", "teacher", 0},
        {"student2", "student2", 0},
        {"nobody", "teacher", 1},
        {"", "", 1},
        {"teacher", "wrong", 2},
        {"teacher", "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + "/" + c.password);
        RawClient raw;
        ASSERT_TRUE(raw.connect("127.0.0.1", server_.port()));
        ASSERT_TRUE(raw.sendVersion());
        ASSERT_TRUE(raw.readFrame());
        ASSERT_TRUE(raw.sendSelector(250));
        ASSERT_TRUE(raw.sendLogOn(c.user, c.password));
        auto answer = raw.readLogOnAnswer();
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->header.Result, c.result);
        if (c.result != 0) {
            EXPECT_EQ(answer->header.DataSize, 0u);
            EXPECT_TRUE(raw.waitClosed());
        } else {
            ASSERT_EQ(answer->payload.size(), static_cast<std::size_t>(TClientRecord::kSize));
            EXPECT_EQ(raw.clientRecord().UserName, c.user);
        }
    }
}

TEST_F(LogOnTest, ClientRecordDescribesTheAccountButNotItsPassword) {
    RawClient raw;
    ASSERT_EQ(raw.open("127.0.0.1", server_.port(), "teacher", "teacher"), 0);
    const TClientRecord& r = raw.clientRecord();
    const ServerConfig demo = demoConfig();
    const Account& a = *demo.findAccount("teacher");
    EXPECT_EQ(r.UID, a.uid);
    EXPECT_EQ(raw.uid(), a.uid);
    EXPECT_EQ(r.UserName, "teacher");
    EXPECT_EQ(r.FullName, a.fullName);
    EXPECT_EQ(r.DisplayName, a.displayName);
    EXPECT_EQ(r.UserTypeID, 1000);
    EXPECT_EQ(r.LoginIP, "127.0.0.1");
    EXPECT_TRUE(r.Password.empty());

    // The same account gets the same uid on every log-on.
    RawClient again;
    ASSERT_EQ(again.open("127.0.0.1", server_.port(), "teacher", "teacher"), 0);
    EXPECT_EQ(again.uid(), a.uid);
}

TEST_F(LogOnTest, ClientSideLogOnReadsTheAnswer) {
    RawClient raw;
    ASSERT_TRUE(raw.connect("127.0.0.1", server_.port()));
    FdInputStream in(raw.fd());
    FdOutputStream out(raw.fd());
    ASSERT_EQ(openChannel(ChannelSelector::Main, in, out, {}), 0);
    TCommand answer;
    ASSERT_EQ(LogOnUser("student1", "student1", in, out, &answer), 0);
    EXPECT_EQ(answer.DataSize, static_cast<std::uint32_t>(TClientRecord::kSize));
    const TClientRecord record = VCTools::readClientRec(in);
    EXPECT_EQ(record.UserName, "student1");
    EXPECT_EQ(record.UserTypeID, 0);
}

TEST_F(LogOnTest, OtherChannelsAndUnknownSelectorsAreClosed) {
    for (std::int32_t selector : {252, 253, 0, 249, -1, 0x7FFFFFFF}) {
        SCOPED_TRACE(selector);
        RawClient raw;
        ASSERT_TRUE(raw.connect("127.0.0.1", server_.port()));
        ASSERT_TRUE(raw.sendVersion());
        ASSERT_TRUE(raw.readFrame());
        ASSERT_TRUE(raw.sendSelector(selector));
        EXPECT_TRUE(raw.waitClosed());
    }
    EXPECT_TRUE(eventually([&] { return server_.stats().active == 0; }));
}

}  // namespace
}  // namespace veltrin::server::test
