#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "connector_test_support.h"
#include "session/TSocketConnector.h"
#include "wire/ServerHandshake.h"
#include "wire/TextMessage.h"

namespace veltrin::test {
namespace {

constexpr std::int32_t kRoomId = 0x1012C;  // RoomIndex 300 on the wire
constexpr std::uint16_t kRoomIndex = 300;
constexpr std::int32_t kOwnUid = 77;

TClientRecord ownRecord() {
    TClientRecord r;
    r.UID = kOwnUid;
    r.RoomIndex = kRoomIndex;
    r.DisplayName = "ann";
    r.FullName = "Ann Lee";
    return r;
}

// What the server side saw of the opening.
struct Opening {
    std::optional<VersionIdentity> version;
    std::optional<std::int32_t> selector;
    std::optional<TSimpleLogin> login;
};

class ConnectorTest : public ::testing::Test {
protected:
    ~ConnectorTest() override {
        connector.reset();
        if (server.joinable()) server.join();
    }

    void makeConnector(std::shared_ptr<WriterClock> clock = WriterClock::system()) {
        connector = std::make_unique<TSocketConnector>(observer, ConnectorSettings{}, std::move(clock));
    }

    // Plays the server's side of a successful opening on its own thread.
    void serveOpening() {
        server = std::thread([this] {
            ASSERT_TRUE(peer.accept());
            opening.version = readVersionExchange(peer.in());
            writeVersionAnswer(peer.out(), 0, nullptr);
            opening.selector = readChannelSelector(peer.in());
            opening.login = readSimpleLogIn(peer.in());
            const TClientRecord record = ownRecord();
            writeLogOnAnswer(peer.out(), 0, &record);
        });
    }

    // Connected, logged on and running.
    void startSession() {
        makeConnector();
        serveOpening();
        ASSERT_EQ(connector->connectToHost("127.0.0.1", peer.port(), 4000), 0);
        ASSERT_EQ(connector->LogIn("u", "p", kRoomId), 0);
        server.join();
        ASSERT_EQ(connector->StartProcessors(), 0);
    }

    bool waitForStatuses(const std::vector<int>& expected) {
        return observer.waitFor([&](const RecordingObserver& o) { return o.statuses() == expected; });
    }

    LogRecorder log;
    LoopbackPeer peer;
    RecordingObserver observer;
    Opening opening;
    std::thread server;
    std::unique_ptr<TSocketConnector> connector;
};

TEST_F(ConnectorTest, RunsASessionFromOpeningToTheServerClosing) {
    makeConnector();
    serveOpening();
    EXPECT_EQ(connector->connectToHost("127.0.0.1", peer.port(), 4000), 0);
    EXPECT_EQ(connector->LogIn("u", "p", kRoomId), 0);
    server.join();

    ASSERT_TRUE(opening.version && opening.selector && opening.login);
    EXPECT_EQ(*opening.version, (VersionIdentity{"8.0", "Mar-01-2015"}));
    EXPECT_EQ(*opening.selector, 250);
    EXPECT_EQ(opening.login->UID, 0);
    EXPECT_EQ(opening.login->Username, "u");
    EXPECT_EQ(opening.login->Password, "p");
    ASSERT_EQ(observer.records().size(), 1u);
    EXPECT_EQ(observer.records()[0].FullName, "Ann Lee");
    EXPECT_EQ(connector->uid(), kOwnUid);
    EXPECT_EQ(connector->rid(), kRoomId);
    EXPECT_GE(connector->socketHandle(), 0);
    EXPECT_EQ(observer.statuses(), std::vector<int>{0});
    for (const char* line : {"Streams Connected", "setsockoption: 0", "connect result: 0", "About to log on",
                             "Log on result 0", "ClientRec Read."})
        EXPECT_TRUE(log.contains(line)) << line;

    // Commands appended before the threads run wait in the buffer and go out first.
    connector->send_Token("T");
    connector->send_ConnectionSpeedBytesIn(1000, 2000);
    EXPECT_EQ(connector->Safe_GetDataQueueSize(), (22u + 5u) + (22u + 8u));
    ASSERT_EQ(connector->StartProcessors(), 0);
    connector->send_JoinVirtualRoom(kRoomId);

    const std::uint16_t expectedIds[] = {164, 154, 75};
    for (const std::uint16_t id : expectedIds) {
        const auto frame = readFrame(peer.in());
        ASSERT_TRUE(frame.has_value()) << id;
        EXPECT_EQ(frame->command.CommandID, id);
        EXPECT_EQ(frame->command.UserID, static_cast<std::uint32_t>(kOwnUid));
        EXPECT_EQ(frame->command.RoomIndex, kRoomIndex);
    }

    // Frames from the server reach the dispatcher; one without payload arrives with none.
    ASSERT_TRUE(writeFrame(peer.out(), 130, 12, Bytes{1, 2, 3}));
    ASSERT_TRUE(writeFrame(peer.out(), 36, 12, Bytes{}));
    ASSERT_TRUE(observer.waitFor([](const RecordingObserver& o) { return o.frames().size() == 2; }));
    const auto frames = observer.framesNow();
    EXPECT_EQ(frames[0].command.CommandID, 130);
    EXPECT_EQ(frames[0].payload, (Bytes{1, 2, 3}));
    EXPECT_EQ(frames[1].command.CommandID, 36);
    EXPECT_TRUE(frames[1].payload.empty());
    EXPECT_EQ(observer.handlerIds(), (std::vector<std::pair<int, int>>{{kOwnUid, kRoomId}}));

    // The server going away ends the reader (2), and then the writer (3).
    peer.closeConnection();
    EXPECT_TRUE(waitForStatuses({0, 2, 3}));
    EXPECT_TRUE(connector->isReaderTerminated());
    EXPECT_TRUE(connector->isWriterTerminated());
    connector.reset();
    for (const char* line : {"Entering readerThreadProc", "Exiting readerThreadProc", "Entering writerThreadProc",
                             "Exiting writerThreadProc", "SocketConnector - Dealloc called."})
        EXPECT_TRUE(log.contains(line)) << line;
}

TEST_F(ConnectorTest, VersionCheckDecidesWhetherTheSelectorIsWritten) {
    const struct {
        const char* serverDate;
        std::uint16_t serverResult;
        int expected;
        bool selectorWritten;
    } cases[] = {
        {"Apr-01-2015", 0, 400, true},   // a newer server still takes the main channel
        {"mar-01-2015", 0, 0, true},     // equal dates, whatever their case
        {"Mar-01-2016", 21, 21, false},  // outdated client: the shell is told, nothing more is sent
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serverDate);
        LoopbackPeer server;
        RecordingObserver owner;
        auto conn = std::make_unique<TSocketConnector>(owner, ConnectorSettings{});
        std::optional<std::int32_t> selector;
        std::thread peerThread([&] {
            ASSERT_TRUE(server.accept());
            ASSERT_TRUE(readVersionExchange(server.in()).has_value());
            const VersionIdentity identity{"8.1", c.serverDate};
            writeVersionAnswer(server.out(), c.serverResult, &identity);
            selector = readChannelSelector(server.in());
        });
        EXPECT_EQ(conn->connectToHost("127.0.0.1", server.port(), 4000), c.expected);
        conn.reset();  // closes the connection, so a selector that was never sent reads as nothing
        peerThread.join();
        EXPECT_EQ(selector.has_value(), c.selectorWritten);
        if (c.selectorWritten) {
            EXPECT_EQ(*selector, 250);
            EXPECT_TRUE(owner.updates().empty());
        } else {
            ASSERT_EQ(owner.updates().size(), 1u);
            EXPECT_EQ(owner.updates()[0], (std::pair<std::string, std::string>{"8.1", c.serverDate}));
        }
    }
}

TEST_F(ConnectorTest, FailedConnectsAnswerTheirCodes) {
    makeConnector();
    // Nobody listens: the socket cannot connect.
    EXPECT_EQ(connector->connectToHost("127.0.0.1", closedPort(), 4000), 13);
    EXPECT_EQ(observer.statuses(), std::vector<int>{1});
    EXPECT_TRUE(log.contains("connect result: 13"));
    EXPECT_EQ(connector->socketHandle(), -1);

    // The peer's kernel accepts, but nothing ever answers the version check.
    EXPECT_EQ(connector->connectToHost("127.0.0.1", peer.port(), 200), 300);
    EXPECT_EQ(observer.statuses(), (std::vector<int>{1, 0}));
    EXPECT_TRUE(log.contains("connect result: 300"));

    // Without a connection there are no threads to start.
    EXPECT_EQ(connector->LogIn("u", "p", kRoomId), 300);
}

TEST_F(ConnectorTest, LogOnFailuresReportNoClientRecord) {
    const struct {
        const char* name;
        std::function<void(LoopbackPeer&)> answer;
        int expected;
    } cases[] = {
        {"refused", [](LoopbackPeer& p) { writeLogOnAnswer(p.out(), 2, nullptr); }, 2},
        {"record cut short",
         [](LoopbackPeer& p) {
             Bytes record;
             ownRecord().writeToMD(record);
             record.resize(100);
             TCommand answer(0, kOwnUid, 0, TClientRecord::kSize);
             VCTools::writeCommand(p.out(), answer);
             VCTools::writeToStream(p.out(), record.data(), record.size());
             p.closeConnection();
         },
         300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackPeer server;
        RecordingObserver owner;
        TSocketConnector conn(owner, ConnectorSettings{});
        std::thread peerThread([&] {
            ASSERT_TRUE(server.accept());
            readVersionExchange(server.in());
            writeVersionAnswer(server.out(), 0, nullptr);
            readChannelSelector(server.in());
            readSimpleLogIn(server.in());
            c.answer(server);
        });
        ASSERT_EQ(conn.connectToHost("127.0.0.1", server.port(), 4000), 0);
        EXPECT_EQ(conn.LogIn("u", "p", kRoomId), c.expected);
        peerThread.join();
        EXPECT_TRUE(owner.records().empty());
        EXPECT_EQ(conn.uid(), 0);
    }
}

TEST_F(ConnectorTest, DisconnectSocketEndsBothThreads) {
    startSession();
    connector->DisconnectSocket();
    EXPECT_TRUE(waitForStatuses({0, 2, 3}));
    EXPECT_TRUE(log.contains("Shutting down sockets"));
    EXPECT_FALSE(readFrame(peer.in()).has_value());
}

TEST_F(ConnectorTest, BadFramesEndTheConnectionWithoutDispatch) {
    const struct {
        const char* name;
        std::uint32_t dataSize;
        std::size_t bytesSent;
    } cases[] = {
        {"size beyond the limit", TSocketConnector::kMaxPayloadSize + 1, 16},
        {"size of four gigabytes", 0xFFFFFFFFu, 16},
        {"payload cut short", 100, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackPeer server;
        RecordingObserver owner;
        auto conn = std::make_unique<TSocketConnector>(owner, ConnectorSettings{});
        std::thread peerThread([&] {
            ASSERT_TRUE(server.accept());
            readVersionExchange(server.in());
            writeVersionAnswer(server.out(), 0, nullptr);
            readChannelSelector(server.in());
            readSimpleLogIn(server.in());
            const TClientRecord record = ownRecord();
            writeLogOnAnswer(server.out(), 0, &record);
        });
        ASSERT_EQ(conn->connectToHost("127.0.0.1", server.port(), 4000), 0);
        ASSERT_EQ(conn->LogIn("u", "p", kRoomId), 0);
        peerThread.join();
        ASSERT_EQ(conn->StartProcessors(), 0);

        ASSERT_TRUE(writeFrame(server.out(), 64, 12, Bytes{1}));
        const TCommand bad(130, 12, 0, c.dataSize);
        VCTools::writeCommand(server.out(), bad);
        const Bytes some(c.bytesSent, 0x41);
        VCTools::writeToStream(server.out(), some.data(), some.size());
        if (c.dataSize <= TSocketConnector::kMaxPayloadSize) server.closeConnection();

        EXPECT_TRUE(owner.waitFor([](const RecordingObserver& o) { return o.statuses() == std::vector<int>{0, 2, 3}; }));
        conn.reset();
        ASSERT_EQ(owner.frames().size(), 1u);
        EXPECT_EQ(owner.frames()[0].command.CommandID, 64);
    }
}

TEST_F(ConnectorTest, KeepAliveLeavesEveryThirtySeconds) {
    auto clock = std::make_shared<ManualClock>();
    makeConnector(clock);
    serveOpening();
    ASSERT_EQ(connector->connectToHost("127.0.0.1", peer.port(), 4000), 0);
    ASSERT_EQ(connector->LogIn("u", "p", kRoomId), 0);
    server.join();
    ASSERT_EQ(connector->StartProcessors(), 0);

    for (int round = 0; round < 2; ++round) {
        clock->advance(TSocketConnector::kKeepAliveInterval);
        const auto frame = readFrame(peer.in());
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(frame->command.CommandID, 57);
        EXPECT_EQ(frame->command.DataSize, 0u);
        EXPECT_EQ(frame->command.UserID, static_cast<std::uint32_t>(kOwnUid));
    }
}

TEST_F(ConnectorTest, CommandsFromManyThreadsArriveWholeAndInOrderPerThread) {
    startSession();
    constexpr int kThreads = 4;
    constexpr int kPerThread = 250;
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t)
        senders.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i)
                connector->send_TextMessage(std::to_string(t) + ":" + std::to_string(i), 0, 0);
        });
    for (auto& s : senders) s.join();

    std::vector<int> next(kThreads, 0);
    for (int n = 0; n < kThreads * kPerThread; ++n) {
        const auto frame = readFrame(peer.in());
        ASSERT_TRUE(frame.has_value()) << n;
        ASSERT_EQ(frame->command.CommandID, 130);
        MemoryInputStream payload{std::span<const std::uint8_t>(frame->payload)};
        TTextMessage message;
        message.readFromStream(payload);
        const auto colon = message.Text.find(':');
        ASSERT_NE(colon, std::string::npos) << message.Text;
        const int t = std::stoi(message.Text.substr(0, colon));
        const int i = std::stoi(message.Text.substr(colon + 1));
        EXPECT_EQ(i, next[t]++) << "thread " << t;
    }
    EXPECT_EQ(next, std::vector<int>(kThreads, kPerThread));
}

// The owner's status handler waits for the main thread, and the main thread releases the connector
// meanwhile (a lost connection torn down from its status report): release must not wait for the
// reader, and the owner hears nothing more once released.
TEST_F(ConnectorTest, ReleasingWhileAThreadWaitsForTheOwnerDoesNotDeadlock) {
    observer.setMainThread();
    std::promise<void> reporting;
    std::promise<void> release;
    auto released = release.get_future().share();
    observer.onStatus = [&](int status) {
        if (status != 2) return;
        reporting.set_value();
        released.wait();
    };
    startSession();
    peer.closeConnection();
    ASSERT_EQ(reporting.get_future().wait_for(kWaitLimit), std::future_status::ready);

    connector.reset();
    EXPECT_TRUE(log.contains("SocketConnector - Dealloc called."));
    release.set_value();

    EXPECT_TRUE(log.waitFor("Exiting readerThreadProc"));
    EXPECT_TRUE(log.waitFor("Exiting writerThreadProc"));
    EXPECT_EQ(observer.statusesNow(), (std::vector<int>{0, 2}));
}

}  // namespace
}  // namespace veltrin::test
