#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <future>
#include <thread>

#include "InProcessServer.h"
#include "RawClient.h"
#include "audio/AudioConnector.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/audio/FakeAudioDevices.h"
#include "audio/VoicePlayback.h"
#include "wire/ServerHandshake.h"
#include "wire/VCTools.h"

namespace veltrin::audio {
namespace {

using namespace std::chrono_literals;
using server::test::eventually;
using server::test::InProcessServer;
using test::FakeDevices;
using test::RecordingObserver;
using Status = RecordingObserver::Status;

constexpr int kRoom = 1001;

using Blocks = std::vector<std::vector<std::uint8_t>>;

std::vector<std::uint8_t> blockOf(std::uint8_t fill) { return std::vector<std::uint8_t>(kVoiceBlockBytes, fill); }

// A participant: main connection in the room, plus an audio connector with fake devices.
struct Participant {
    Participant(InProcessServer& server, const std::string& user, std::int32_t uid)
        : connector(observer, devices, 0, 5, "127.0.0.1", server.port(), user, user, kRoom, uid) {
        EXPECT_EQ(main.open("127.0.0.1", server.port(), user, user), 0);
        auto joined = main.join(kRoom);
        EXPECT_TRUE(joined && joined->header.Result == 0);
    }
    bool takeFloor() {
        main.sendFrame(6);
        auto answer = main.waitFor(6);
        return answer && answer->header.Result == 0;
    }
    std::vector<std::vector<std::uint8_t>> heard(int slot) const {
        return devices.players[devices.players.size() - 5 + std::size_t(slot)]->blocks();
    }

    testkit::RawClient main;
    RecordingObserver observer;
    FakeDevices devices;
    AudioConnector connector;
};

bool traced(InProcessServer& server, const std::string& line) {
    const auto t = server.trace();
    return std::find(t.begin(), t.end(), line) != t.end();
}

TEST(AudioConnector, RelaysOnlyTheFloorHoldersBlocksToTheOthers) {
    InProcessServer server;
    Participant teacher(server, "teacher", 101);
    Participant student(server, "student1", 102);
    Participant admin(server, "admin", 105);
    for (Participant* p : {&teacher, &student, &admin}) {
        ASSERT_EQ(p->connector.InitAudio({}), kAudioConnected);
        ASSERT_TRUE(p->observer.waitForStatuses(1));
        EXPECT_EQ(p->observer.statuses().front(), (Status{0, true, true}));
        EXPECT_TRUE(p->connector.ACMInStatus() && p->connector.ACMOutStatus());
    }

    // Without the floor the server drops the admin's block. It is handled before the admin's
    // floor request (the trace line is written on receipt), so had it been relayed it would
    // reach the student before anything the admin says later.
    admin.devices.mic->speak(blockOf(0xAD));
    ASSERT_TRUE(eventually([&] { return traced(server, "recv 105 9 320"); }));

    ASSERT_TRUE(teacher.takeFloor());
    teacher.devices.mic->speak(blockOf(0x7E));
    ASSERT_TRUE(admin.takeFloor());
    admin.devices.mic->speak(blockOf(0xA1));

    ASSERT_TRUE(eventually([&] { return student.heard(0).size() + student.heard(1).size() == 2; }));
    // Each speaker has a player of his own, in the order they were first heard.
    const int teacherSlot = student.connector.playerUid(0) == 101 ? 0 : 1;
    EXPECT_EQ(student.connector.playerUid(teacherSlot), 101u);
    EXPECT_EQ(student.connector.playerUid(1 - teacherSlot), 105u);
    EXPECT_EQ(student.heard(teacherSlot), Blocks{blockOf(0x7E)});
    EXPECT_EQ(student.heard(1 - teacherSlot), Blocks{blockOf(0xA1)});

    // The speakers hear each other, never themselves.
    ASSERT_TRUE(eventually([&] { return admin.heard(0).size() == 1 && teacher.heard(0).size() == 1; }));
    EXPECT_EQ(admin.heard(0), Blocks{blockOf(0x7E)});
    EXPECT_EQ(teacher.heard(0), Blocks{blockOf(0xA1)});
    EXPECT_EQ(teacher.connector.playerUid(1), 0u);
}

TEST(AudioConnector, SendsKeepAlivesAndReportsALostChannelThenReconnects) {
    InProcessServer server;
    Participant teacher(server, "teacher", 101);
    teacher.connector.setKeepAliveInterval(50ms);
    ASSERT_EQ(teacher.connector.InitAudio({}), kAudioConnected);
    ASSERT_TRUE(eventually([&] { return traced(server, "recv 101 100 0"); }));

    // The server closes every connection: the reader and the writer each report their end once.
    server.control("drop-all");
    ASSERT_TRUE(teacher.observer.waitForStatuses(3));
    auto statuses = teacher.observer.statuses();
    std::sort(statuses.begin() + 1, statuses.end(), [](auto& a, auto& b) { return a.code < b.code; });
    EXPECT_EQ(statuses, (std::vector<Status>{{0, true, true}, {1, false, false}, {2, false, false}}));

    // The ended threads stopped the devices; the connector keeps them and starts them again when
    // it reconnects.
    EXPECT_FALSE(teacher.devices.players[0]->started);
    EXPECT_EQ(teacher.connector.InitAudio({}), kAudioConnected);
    EXPECT_EQ(teacher.devices.players.size(), 5u);
    EXPECT_TRUE(teacher.devices.players[4]->started);
    teacher.connector.DisconnectAudio();
    ASSERT_TRUE(teacher.observer.waitForStatuses(6));
    EXPECT_FALSE(teacher.connector.ACMInStatus());
    EXPECT_FALSE(teacher.connector.ACMOutStatus());
}

TEST(AudioConnector, DeviceFailuresDecideTheResult) {
    InProcessServer server;
    struct Case {
        bool mic, players;
        int result;
        Status status;
    };
    for (const Case& c : {Case{false, false, kAudioNoDevice, {35, false, false}},
                          Case{true, false, kAudioConnected, {0, false, true}},
                          Case{false, true, kAudioConnected, {0, true, false}}}) {
        RecordingObserver observer;
        FakeDevices devices;
        devices.micWorks = c.mic;
        devices.playersWork = c.players;
        AudioConnector connector(observer, devices, 0, 5, "127.0.0.1", server.port(), "teacher", "teacher", kRoom, 101);
        EXPECT_EQ(connector.InitAudio({}), c.result);
        ASSERT_TRUE(observer.waitForStatuses(1));
        EXPECT_EQ(observer.statuses().front(), c.status);
        EXPECT_EQ(devices.outputIds.size(), 5u) << "every slot is tried even after a failure";
    }
}

TEST(AudioConnector, StoredDevicesAreUsedOnlyWhileTheirNamesMatch) {
    InProcessServer server;
    RecordingObserver observer;
    FakeDevices devices;
    AudioConnector connector(observer, devices, 0, 5, "127.0.0.1", server.port(), "teacher", "teacher", kRoom, 101);
    AudioChannelSettings settings;
    settings.inputDeviceId = 3;
    settings.inputDeviceName = "USB Headset";
    settings.outputDeviceId = 4;  // a different device holds index 4 now
    settings.outputDeviceName = "USB Headset";
    ASSERT_EQ(connector.InitAudio(settings), kAudioConnected);
    EXPECT_EQ(devices.inputIds, std::vector<int>{3});
    EXPECT_EQ(devices.outputIds, std::vector<int>(5, -1));
    EXPECT_EQ(observer.resets(), std::vector<bool>{false});
}

// A port nothing listens on.
int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

TEST(AudioConnector, FailedOpeningsAnswerTheirCodeAndStartNothing) {
    server::ServerConfig newer = server::demoConfig();
    newer.version.date = "Apr-01-2015";
    server::ServerConfig outdated = server::demoConfig();
    outdated.version.result = 21;
    InProcessServer plain;
    InProcessServer newerServer(newer);
    InProcessServer outdatedServer(outdated);
    struct Case {
        const char* name;
        int port;
        std::string password;
        int result;
    };
    const std::vector<Case> cases = {
        {"wrong password", plain.port(), "nope", 2},
        {"nothing listening", closedPort(), "teacher", kAudioConnectFailed},
        // The audio channel goes on only after exactly 0: a newer server ends the attempt.
        {"newer server", newerServer.port(), "teacher", 400},
        {"outdated client", outdatedServer.port(), "teacher", 21},
    };
    for (const auto& c : cases) {
        RecordingObserver observer;
        FakeDevices devices;
        AudioConnector connector(observer, devices, 0, 5, "127.0.0.1", c.port, "teacher", c.password, kRoom, 101);
        EXPECT_EQ(connector.InitAudio({}), c.result) << c.name;
        EXPECT_TRUE(observer.statuses().empty()) << c.name;
        EXPECT_TRUE(devices.outputIds.empty() && devices.inputIds.empty()) << c.name;
    }
    EXPECT_EQ(newerServer.stats().connections, 1u);
    EXPECT_EQ(newerServer.control("users"), "users") << "no selector was sent after 400";
}

// Plays the server's side of one audio connection by hand: accepts, answers the version check and
// the log-on, sends the given frames once the test releases them (blocks that arrive before the
// client's players exist are dropped by design), then holds the connection until the client
// closes it.
class ScriptedAudioServer {
public:
    explicit ScriptedAudioServer(Bytes script) : script_(std::move(script)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 1);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~ScriptedAudioServer() {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }
    void release() { go_.set_value(); }

private:
    void serve() {
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) return;
        FdInputStream in(fd);
        FdOutputStream out(fd);
        Bytes opening(32 + 4 + TSimpleLogin::kSize + 2);
        if (in.readFully(opening.data(), 32) == 32) {
            writeVersionAnswer(out, 0, nullptr);
            if (in.readFully(opening.data(), opening.size() - 32) == opening.size() - 32) {
                writeLogOnAnswer(out, 0, nullptr);
                if (released_.wait_for(10s) == std::future_status::ready) out.writeAll(script_.data(), script_.size());
                std::uint8_t sink[256];
                while (in.readSome(sink, sizeof sink) > 0) {
                }
            }
        }
        ::close(fd);
    }

    Bytes script_;
    std::promise<void> go_;
    std::future<void> released_ = go_.get_future();
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

void appendFrame(Bytes& script, std::uint16_t id, std::uint32_t uid, const Bytes& payload,
                 std::uint32_t claimedSize) {
    TCommand c(id, uid, kRoom, claimedSize);
    VCTools::writeCommandMD(script, c);
    script.insert(script.end(), payload.begin(), payload.end());
}

TEST(AudioConnector, ReaderSkipsWhatIsNotAVoiceBlockAndStaysInStep) {
    Bytes script;
    appendFrame(script, 55, 7, Bytes(1000, 27), 1000);          // unknown command with a payload
    appendFrame(script, 27, 70, {}, 0);                         // a relayed block without data
    appendFrame(script, 27, 71, Bytes(5000, 27), 5000);         // far too large to be a block: skipped
    appendFrame(script, 27, 77, blockOf(0x42), kVoiceBlockBytes);
    ScriptedAudioServer server(script);

    RecordingObserver observer;
    FakeDevices devices;
    AudioConnector connector(observer, devices, 0, 5, "127.0.0.1", server.port(), "teacher", "teacher", kRoom, 101);
    ASSERT_EQ(connector.InitAudio({}), kAudioConnected);
    server.release();
    ASSERT_TRUE(eventually([&] { return !devices.players[0]->blocks().empty(); }));
    EXPECT_EQ(devices.players[0]->blocks(), Blocks{blockOf(0x42)});
    EXPECT_EQ(connector.playerUid(0), 77u);
    EXPECT_EQ(connector.playerUid(1), 0u) << "frames that were skipped took no player";
    connector.DisconnectAudio();
    EXPECT_TRUE(observer.waitForStatuses(3));
}

TEST(AudioConnector, ServerRelaysOnlyWholeBlocks) {
    InProcessServer server;
    Participant teacher(server, "teacher", 101);
    Participant student(server, "student1", 102);
    ASSERT_EQ(student.connector.InitAudio({}), kAudioConnected);
    ASSERT_TRUE(teacher.takeFloor());

    // The teacher's audio channel, by hand, so that it can send what the client never would.
    testkit::RawClient audio;
    ASSERT_TRUE(audio.connect("127.0.0.1", server.port()));
    ASSERT_TRUE(audio.sendVersion());
    ASSERT_TRUE(audio.readFrame());
    ASSERT_TRUE(audio.sendSelector(251));
    Bytes logOn;
    TSimpleLogin login;
    login.UID = 101;
    login.Username = "teacher";
    login.Password = "teacher";
    login.writeToMD(logOn);
    VCTools::writeWordMD(logOn, kRoom);
    ASSERT_TRUE(audio.sendBytes(logOn));
    auto answer = audio.readFrame();
    ASSERT_TRUE(answer && answer->header.Result == 0);

    audio.setUid(101);
    ASSERT_TRUE(audio.sendFrame(9, Bytes(319, 1)));
    ASSERT_TRUE(audio.sendFrame(9, Bytes(321, 2)));
    ASSERT_TRUE(audio.sendFrame(9, blockOf(3)));
    ASSERT_TRUE(eventually([&] { return !student.heard(0).empty(); }));
    EXPECT_EQ(student.heard(0), Blocks{blockOf(3)});
}

// A player with the real decoder and bounded queue, counting what it decoded.
class QueueingPlayer final : public AudioOutput {
public:
    int OpenDeviceWithId(int) override { return 0; }
    bool start() override { return true; }
    void stop() override {}
    void addBuffer(const std::uint8_t* data, std::size_t size) override { playback_.addBuffer(data, size); }
    void setChangeSampleBy(int step) override { playback_.setChangeSampleBy(step); }
    int getChangeSampleBy() const override { return playback_.getChangeSampleBy(); }
    std::size_t queued() const { return playback_.queued(); }
    std::atomic<int> decoded{0};

private:
    VoicePlayback playback_{[this](int) { ++decoded; }};
};

class QueueingDevices final : public AudioDeviceFactory {
public:
    std::unique_ptr<AudioInput> createMicrophone(int, bool, AudioInputDelegate&) override { return nullptr; }
    std::unique_ptr<AudioOutput> createPlayer(int, AudioOutputDelegate&) override {
        auto p = std::make_unique<QueueingPlayer>();
        players.push_back(p.get());
        return p;
    }
    bool isDeviceWithIdMatchesName(int, const std::string&) override { return false; }
    std::vector<QueueingPlayer*> players;
};

TEST(AudioConnector, AFloodFromOneSpeakerIsDecodedButQueuedOnlyUpToTheBound) {
    // 300 blocks at once (a minute of sound) and blocks of the wrong size in between.
    Bytes script;
    for (int i = 0; i < 300; ++i) {
        appendFrame(script, 27, 77, blockOf(std::uint8_t(i)), kVoiceBlockBytes);
        if (i % 100 == 0) {
            appendFrame(script, 27, 77, Bytes(319, 1), 319);
            appendFrame(script, 27, 77, Bytes(321, 1), 321);
        }
    }
    ScriptedAudioServer server(script);
    RecordingObserver observer;
    QueueingDevices devices;
    AudioConnector connector(observer, devices, 0, 5, "127.0.0.1", server.port(), "teacher", "teacher", kRoom, 101);
    ASSERT_EQ(connector.InitAudio({}), kAudioConnected);
    server.release();
    ASSERT_TRUE(eventually([&] { return devices.players[0]->decoded == 300; }));
    EXPECT_EQ(devices.players[0]->queued(), PlaybackQueue::kDefaultCapacity) << "the newest sound was dropped";
    for (int slot = 1; slot < 5; ++slot) EXPECT_EQ(devices.players[std::size_t(slot)]->decoded, 0);
    connector.DisconnectAudio();
    EXPECT_TRUE(observer.waitForStatuses(3));
}

TEST(AudioConnector, ASixthSpeakerTakesOverTheFirstPlayer) {
    Bytes script;
    for (std::uint32_t uid = 1; uid <= 6; ++uid) appendFrame(script, 27, uid, blockOf(std::uint8_t(uid)), kVoiceBlockBytes);
    appendFrame(script, 27, 1, blockOf(0x11), kVoiceBlockBytes);  // the first speaker again
    ScriptedAudioServer server(script);
    RecordingObserver observer;
    FakeDevices devices;
    AudioConnector connector(observer, devices, 0, 5, "127.0.0.1", server.port(), "teacher", "teacher", kRoom, 101);
    ASSERT_EQ(connector.InitAudio({}), kAudioConnected);
    server.release();
    ASSERT_TRUE(eventually([&] { return devices.players[0]->blocks().size() == 3; }));
    EXPECT_EQ(devices.players[0]->blocks(), (Blocks{blockOf(1), blockOf(6), blockOf(0x11)}));
    EXPECT_EQ(connector.playerUid(0), 1u) << "slot 0 goes to whoever was heard last without a player";
    for (int slot = 1; slot < 5; ++slot) {
        EXPECT_EQ(connector.playerUid(slot), std::uint32_t(slot + 1));
        EXPECT_EQ(devices.players[std::size_t(slot)]->blocks(), Blocks{blockOf(std::uint8_t(slot + 1))});
    }
    connector.DisconnectAudio();
    EXPECT_TRUE(observer.waitForStatuses(3));
}

TEST(AudioConnector, BlocksWaitingForTheWriterAreBounded) {
    InProcessServer server;
    RecordingObserver observer;
    FakeDevices devices;
    AudioConnector connector(observer, devices, 0, 5, "127.0.0.1", server.port(), "teacher", "teacher", kRoom, 101);
    ASSERT_EQ(connector.InitAudio({}), kAudioConnected);
    // Far more than the writer takes in one tick.
    for (int i = 0; i < 2000; ++i) devices.mic->speak(blockOf(5));
    EXPECT_LE(connector.pendingOutputSize(), AudioConnector::kMaxPendingOutput);
    EXPECT_GT(connector.pendingOutputSize(), AudioConnector::kMaxPendingOutput - 2 * (kVoiceBlockBytes + 22));
    connector.DisconnectAudio();
    EXPECT_TRUE(observer.waitForStatuses(3));
}

}  // namespace
}  // namespace veltrin::audio
