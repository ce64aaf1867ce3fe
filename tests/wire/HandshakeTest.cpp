#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>
#include <thread>

#include "WireTestSupport.h"
#include "wire/Handshake.h"
#include "wire/ServerHandshake.h"
#include "wire/VCTools.h"

namespace veltrin {
namespace {

using test::ascii;
using test::concat;
using test::hexBytes;
using test::LogCapture;
using test::zeros;

constexpr std::uint8_t kMarker = 0xEE;

const Bytes kClientExchange =
    concat({hexBytes("03 38 2E 30"), zeros(7), hexBytes("0B"), ascii("Mar-01-2015"), zeros(9)});

Bytes versionAnswer(std::uint16_t result, std::optional<VersionIdentity> server, std::uint16_t command = 0) {
    MemoryOutputStream os;
    writeVersionAnswer(os, result, server ? &*server : nullptr, command);
    return os.take();
}

Bytes frame(std::uint16_t command, std::uint32_t dataSize, std::uint16_t result) {
    TCommand c(command, 0, 0, dataSize);
    c.Result = result;
    Bytes md;
    VCTools::writeCommandMD(md, c);
    return md;
}

struct Outdated {
    int calls = 0;
    std::string version;
    std::string date;
    OutdatedHandler handler() {
        return [this](const std::string& v, const std::string& d) {
            ++calls;
            version = v;
            date = d;
        };
    }
};

TEST(VersionCheck, WritesExactly32Bytes) {
    ASSERT_EQ(kClientExchange.size(), 32u);
    MemoryInputStream is(versionAnswer(0, std::nullopt));
    MemoryOutputStream os;
    EXPECT_EQ(checkVersion(kClientVersion, kClientVersionDate, is, os, {}), kResultSuccess);
    EXPECT_EQ(os.data(), kClientExchange);
}

TEST(VersionCheck, ResultsForEachServerAnswer) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* name;
        Bytes answer;
        int result;
        bool outdatedShown;
        // After "Preparing to check version."; nothing for failed exchanges, whose log is that of
        // the frame readers.
        std::optional<std::vector<std::string>> log;
    };
    const Case cases[] = {
        {"no payload, result 0", versionAnswer(0, std::nullopt), 0, false,
         Lines{"CheckVersion cmd 0 data size 0"}},
        {"same date", versionAnswer(0, VersionIdentity{"8.0", "Mar-01-2015"}, 7), 0, false,
         Lines{"Server Version: 8.0, date: Mar-01-2015", "20150301, 20150301, 0 ",
               "CheckVersion cmd 7 data size 32"}},
        {"same date in lower case", versionAnswer(0, VersionIdentity{"8.0", "mar-01-2015"}), 0, false,
         Lines{"Server Version: 8.0, date: mar-01-2015", "20150301, 20150301, 0 ",
               "CheckVersion cmd 0 data size 32"}},
        {"a month newer", versionAnswer(0, VersionIdentity{"8.1", "Apr-01-2015"}), 400, false,
         Lines{"Server Version: 8.1, date: Apr-01-2015", "20150401, 20150301, 1 ", "Server version new",
               "CheckVersion cmd 0 data size 32"}},
        {"older", versionAnswer(0, VersionIdentity{"7.9", "Dec-24-2014"}), 0, false,
         Lines{"Server Version: 7.9, date: Dec-24-2014", "20141224, 20150301, -1 ",
               "CheckVersion cmd 0 data size 32"}},
        {"outdated without payload", versionAnswer(21, std::nullopt), 21, false,
         Lines{"CheckVersion cmd 0 data size 0"}},
        {"outdated with payload", versionAnswer(21, VersionIdentity{"9.0", "Jan-15-2016"}), 21, true,
         Lines{"Server Version: 9.0, date: Jan-15-2016", "CheckVersion cmd 0 data size 32"}},
        {"some other refusal", versionAnswer(5, std::nullopt), 5, false,
         Lines{"CheckVersion cmd 0 data size 0"}},
        {"no answer", {}, 300, false, std::nullopt},
        {"frame cut short", hexBytes("00 00 00 00 00 00 00 00 00 00"), 300, false, std::nullopt},
        {"payload cut short", concat({frame(0, 32, 0), hexBytes("03 38 2E 31")}), 300, false, std::nullopt},
        {"absurd payload size", frame(0, 0x7FFFFFFF, 0), 300, false, std::nullopt},
        // Only the version, no date: an empty date compares as "00000000".
        {"payload of the version only", concat({frame(0, 11, 0), hexBytes("03 38 2E 31"), zeros(7)}), 0,
         false,
         Lines{"Server Version: 8.1, date: ", "00000000, 20150301, -1 ", "CheckVersion cmd 0 data size 11"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        Outdated outdated;
        MemoryInputStream is(c.answer);
        MemoryOutputStream os;
        EXPECT_EQ(checkVersion(kClientVersion, kClientVersionDate, is, os, outdated.handler()), c.result);
        EXPECT_EQ(outdated.calls, c.outdatedShown ? 1 : 0);
        ASSERT_FALSE(log.lines().empty());
        EXPECT_EQ(log.lines().front(), "Preparing to check version.");
        if (c.log) {
            std::vector<std::string> expectedLog{"Preparing to check version."};
            expectedLog.insert(expectedLog.end(), c.log->begin(), c.log->end());
            EXPECT_EQ(log.lines(), expectedLog);
        } else {
            EXPECT_FALSE(log.contains("CheckVersion"));
        }
    }
}

TEST(VersionCheck, OutdatedClientIsToldTheServerVersion) {
    Outdated outdated;
    MemoryInputStream is(versionAnswer(21, VersionIdentity{"9.0", "Jan-15-2016"}));
    MemoryOutputStream os;
    EXPECT_EQ(checkVersion(kClientVersion, kClientVersionDate, is, os, outdated.handler()),
              kResultOutdatedClient);
    EXPECT_EQ(outdated.version, "9.0");
    EXPECT_EQ(outdated.date, "Jan-15-2016");
    // Without a handler the result is the same.
    MemoryInputStream again(versionAnswer(21, VersionIdentity{"9.0", "Jan-15-2016"}));
    EXPECT_EQ(checkVersion(kClientVersion, kClientVersionDate, again, os, {}), kResultOutdatedClient);
}

// Whatever the payload holds beyond the version and date is consumed with it.
TEST(VersionCheck, PayloadIsConsumedByItsSize) {
    Bytes payload;
    VCTools::writeFixedStringMD(payload, "8.0", 10);
    VCTools::writeFixedStringMD(payload, "Mar-01-2015", 20);
    payload.insert(payload.end(), 8, 0x55);
    MemoryInputStream is(
        concat({frame(0, static_cast<std::uint32_t>(payload.size()), 0), payload, {kMarker}}));
    MemoryOutputStream os;
    EXPECT_EQ(checkVersion(kClientVersion, kClientVersionDate, is, os, {}), kResultSuccess);
    EXPECT_EQ(VCTools::readByte(is), kMarker);
}

TEST(VersionCheck, OutputErrorAnswersMinusOne) {
    for (const std::size_t accepted : {std::size_t{0}, std::size_t{10}, std::size_t{31}}) {
        SCOPED_TRACE(accepted);
        LogCapture log;
        test::FailingOutputStream os(accepted, EPIPE);
        MemoryInputStream is(versionAnswer(0, std::nullopt));
        EXPECT_EQ(checkVersion(kClientVersion, kClientVersionDate, is, os, {}), kResultStreamError);
        EXPECT_EQ(log.lines(), (std::vector<std::string>{"Preparing to check version.", "Stream Error: 32"}));
        EXPECT_EQ(is.position(), 0u);
    }
}

TEST(OpenChannel, SelectorOnlyWhenTheCheckAllowsIt) {
    const Bytes newer = versionAnswer(0, VersionIdentity{"8.1", "Apr-01-2015"});
    const Bytes same = versionAnswer(0, std::nullopt);
    struct Case {
        ChannelSelector channel;
        Bytes answer;
        int result;
        Bytes selector;
    };
    const Case cases[] = {
        {ChannelSelector::Main, same, 0, hexBytes("00 00 00 FA")},
        {ChannelSelector::Main, newer, 400, hexBytes("00 00 00 FA")},
        {ChannelSelector::Audio, same, 0, hexBytes("00 00 00 FB")},
        {ChannelSelector::Audio, newer, 400, {}},
        {ChannelSelector::Video, same, 0, hexBytes("00 00 00 FC")},
        {ChannelSelector::Video, newer, 400, {}},
        {ChannelSelector::FileTransfer, same, 0, hexBytes("00 00 00 FD")},
        {ChannelSelector::FileTransfer, newer, 400, {}},
        {ChannelSelector::Main, versionAnswer(21, std::nullopt), 21, {}},
        {ChannelSelector::Main, {}, 300, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.channel));
        SCOPED_TRACE(c.result);
        MemoryInputStream is(c.answer);
        MemoryOutputStream os;
        EXPECT_EQ(openChannel(c.channel, is, os, {}), c.result);
        EXPECT_EQ(os.data(), concat({kClientExchange, c.selector}));
        EXPECT_EQ(versionCheckPasses(c.channel, c.result), !c.selector.empty());
    }
}

TEST(OpenChannel, FailedSelectorWriteIsAStreamError) {
    MemoryInputStream is(versionAnswer(0, std::nullopt));
    test::FailingOutputStream os(32 + 2);
    EXPECT_EQ(openChannel(ChannelSelector::Main, is, os, {}), kResultStreamError);
}

TEST(LogOnUser, WritesTheSimpleLogOnAndAnswersTheResult) {
    struct Case {
        const char* name;
        Bytes answer;
        int result;
    };
    const Case cases[] = {
        {"accepted", frame(0, TClientRecord::kSize, 0), 0},
        {"wrong user name", frame(0, 0, 1), 1},
        {"wrong password", frame(0, 0, 2), 2},
        {"no answer", {}, 300},
        {"answer cut short", hexBytes("00 00 01"), 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryInputStream is(c.answer);
        MemoryOutputStream os;
        TCommand answer(99, 99, 99);
        EXPECT_EQ(LogOnUser("u", "p", is, os, &answer), c.result);
        EXPECT_EQ(os.data(), concat({zeros(4), hexBytes("01 70"), zeros(49), hexBytes("01 75"), zeros(49)}));
        if (c.result != 300) {
            EXPECT_EQ(answer.Result, c.result);
            EXPECT_EQ(answer.DataSize, c.result == 0 ? 1119u : 0u);
        }
    }
}

TEST(LogOnUser, FailedWriteIsAFailedExchange) {
    MemoryInputStream is(frame(0, 0, 0));
    test::FailingOutputStream os(50);
    EXPECT_EQ(LogOnUser("u", "p", is, os), kResultExchangeFailed);
}

TEST(LogOnUser, NeverLogsThePassword) {
    LogCapture log;
    MemoryInputStream is(hexBytes("00"));
    MemoryOutputStream os;
    LogOnUser("someone", "hunter2", is, os);
    for (const auto& line : log.lines()) EXPECT_EQ(line.find("hunter2"), std::string::npos) << line;
}

TEST(ConvertVersionDateToString, Cases) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"Mar-01-2015", "20150301"},  {"mar-01-2015", "20150301"},
        {"Jan-31-1999", "19990131"},  {"DEC-25-2014", "20141225"},
        {"Xyz-07-2016", "2016XYZ07"}, {"Mar-1-2015", "2015031-"},
        {"Mar-01-15", "00000000"},    {"", "00000000"},
        {"123456789", "00000000"},    {"1234567890", "789012356"},
    };
    for (const auto& c : cases) EXPECT_EQ(ConvertVersionDateToString(c.in), c.out) << c.in;
}

TEST(DownloadPage, QueryCarriesTheServerVersion) {
    EXPECT_EQ(downloadPageQuery("8.1", "Apr-01-2015"), "?topic=plugindownload&mac=yes&v=8.1&vd=Apr-01-2015");
    EXPECT_EQ(downloadPageQuery("8 1&x", "a/b"), "?topic=plugindownload&mac=yes&v=8%201%26x&vd=a%2Fb");
}

// ---- server side

TEST(ServerHandshake, VersionAnswerBytes) {
    EXPECT_EQ(versionAnswer(21, std::nullopt, 3),
              hexBytes("03 00 00 00 00 00 00 00  00 00 00 00 00 00 00 00  00 00 00 00  15 00"));
    const Bytes withVersion = versionAnswer(0, VersionIdentity{"8.0", "Mar-01-2015"});
    EXPECT_EQ(withVersion, concat({frame(0, 32, 0), kClientExchange}));
}

TEST(ServerHandshake, ReadsWhatTheClientSends) {
    MemoryInputStream is(concat({kClientExchange, hexBytes("00 00 00 FB"), zeros(4), hexBytes("01 70"),
                                 zeros(49), hexBytes("01 75"), zeros(49)}));
    EXPECT_EQ(readVersionExchange(is), (VersionIdentity{"8.0", "Mar-01-2015"}));
    EXPECT_EQ(readChannelSelector(is), static_cast<std::int32_t>(ChannelSelector::Audio));
    const auto login = readSimpleLogIn(is);
    ASSERT_TRUE(login);
    EXPECT_EQ(login->UID, 0);
    EXPECT_EQ(login->Password, "p");
    EXPECT_EQ(login->Username, "u");
}

TEST(ServerHandshake, CutInputGivesNothing) {
    for (const std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{31}}) {
        MemoryInputStream is(std::span<const std::uint8_t>(kClientExchange).first(cut));
        EXPECT_EQ(readVersionExchange(is), std::nullopt) << cut;
    }
    MemoryInputStream selector(hexBytes("00 00 00"));
    EXPECT_EQ(readChannelSelector(selector), std::nullopt);
    MemoryInputStream login(zeros(105));
    EXPECT_EQ(readSimpleLogIn(login), std::nullopt);
}

TEST(ServerHandshake, LogOnAnswerCarriesTheRecordOnlyOnSuccess) {
    TClientRecord record;
    record.UID = 4242;
    record.UserName = "u";
    MemoryOutputStream ok;
    writeLogOnAnswer(ok, 0, &record);
    ASSERT_EQ(ok.data().size(), 22u + 1119u);
    MemoryInputStream is(ok.data());
    const auto answer = VCTools::readCommand(is);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->UserID, 4242u);
    EXPECT_EQ(answer->DataSize, 1119u);
    EXPECT_TRUE(VCTools::readClientRec(is) == record);

    MemoryOutputStream refused;
    writeLogOnAnswer(refused, 2, &record);
    EXPECT_EQ(refused.data(), frame(0, 0, 2));
}

// The whole opening of the main channel against a server thread on the other end of a socket.
TEST(ServerHandshake, MainChannelOpeningOverASocket) {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    TClientRecord record;
    record.UID = 31337;
    record.DisplayName = "Ada";
    record.UserTypeID = 1000;

    std::optional<VersionIdentity> seenVersion;
    std::optional<std::int32_t> seenSelector;
    std::optional<TSimpleLogin> seenLogin;
    std::thread server([&] {
        FdInputStream in(fds[1]);
        FdOutputStream out(fds[1]);
        seenVersion = readVersionExchange(in);
        writeVersionAnswer(out, 0, nullptr);
        seenSelector = readChannelSelector(in);
        seenLogin = readSimpleLogIn(in);
        writeLogOnAnswer(out, 0, &record);
        ::shutdown(fds[1], SHUT_WR);
    });

    FdInputStream in(fds[0]);
    FdOutputStream out(fds[0]);
    EXPECT_EQ(openChannel(ChannelSelector::Main, in, out, {}), kResultSuccess);
    TCommand answer;
    EXPECT_EQ(LogOnUser("ada", "s3cret", in, out, &answer), kResultSuccess);
    EXPECT_EQ(answer.DataSize, 1119u);
    EXPECT_TRUE(VCTools::readClientRec(in) == record);
    TCommand next;
    EXPECT_FALSE(VCTools::readCommandNoCreate(in, next));  // the server closed: the end is noticed
    server.join();
    ::close(fds[0]);
    ::close(fds[1]);

    EXPECT_EQ(seenVersion, (VersionIdentity{"8.0", "Mar-01-2015"}));
    EXPECT_EQ(seenSelector, 250);
    ASSERT_TRUE(seenLogin);
    EXPECT_EQ(seenLogin->Username, "ada");
    EXPECT_EQ(seenLogin->Password, "s3cret");
}

}  // namespace
}  // namespace veltrin
