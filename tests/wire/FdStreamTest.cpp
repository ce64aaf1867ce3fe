#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <random>
#include <thread>

#include "wire/VCTools.h"

namespace veltrin {
namespace {

struct SocketPair {
    int fds[2] = {-1, -1};
    SocketPair() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0); }
    ~SocketPair() {
        for (const int fd : fds)
            if (fd >= 0) ::close(fd);
    }
    SocketPair(const SocketPair&) = delete;
    SocketPair& operator=(const SocketPair&) = delete;
};

// Frames with payloads of assorted sizes, some larger than the reader's buffer.
std::vector<std::pair<TCommand, Bytes>> sampleFrames() {
    std::vector<std::pair<TCommand, Bytes>> frames;
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) {
        const std::uint32_t size = i == 150 ? 70000 : i % 25 == 0 ? 5000 : rng() % 40;
        TCommand c(i, static_cast<std::uint32_t>(1000 + i), 300, size);
        c.TimeStamp = 45000 + i / 1000.0;
        Bytes payload(size);
        for (auto& b : payload) b = static_cast<std::uint8_t>(rng());
        frames.emplace_back(c, std::move(payload));
    }
    return frames;
}

// A peer writes the frames in pieces of random sizes (1 byte to a few frames); the reader, with
// buffers of every interesting size, must see exactly the frames sent and then the end.
TEST(FdInputStream, FramesSplitAcrossReads) {
    const auto frames = sampleFrames();
    Bytes wire;
    for (const auto& [c, payload] : frames) {
        VCTools::writeCommandMD(wire, c);
        wire.insert(wire.end(), payload.begin(), payload.end());
    }
    for (const std::size_t bufferSize :
         {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{22}, std::size_t{23}, std::size_t{4096},
          FdInputStream::kDefaultBufferSize}) {
        SCOPED_TRACE(bufferSize);
        SocketPair pair;
        std::thread writer([&] {
            FdOutputStream out(pair.fds[1]);
            std::mt19937 rng(static_cast<unsigned>(bufferSize));
            for (std::size_t at = 0; at < wire.size();) {
                const std::size_t n = std::min<std::size_t>(wire.size() - at, 1 + rng() % 80);
                if (!VCTools::writeToStream(out, wire.data() + at, n)) return;
                at += n;
            }
            ::shutdown(pair.fds[1], SHUT_WR);
        });

        const auto readAll = [&]() -> ::testing::AssertionResult {
            FdInputStream in(pair.fds[0], bufferSize);
            TCommand c;
            Bytes payload;
            for (std::size_t i = 0; i < frames.size(); ++i) {
                const auto& [expected, expectedPayload] = frames[i];
                if (!VCTools::readCommandNoCreate(in, c))
                    return ::testing::AssertionFailure() << "ended at " << i;
                if (!(c == expected)) return ::testing::AssertionFailure() << "frame " << i << " differs";
                if (VCTools::readPayload(in, c.DataSize, payload, 1u << 20) != ReadStatus::Complete ||
                    payload != expectedPayload)
                    return ::testing::AssertionFailure() << "payload " << i << " differs";
            }
            if (VCTools::readCommandNoCreate(in, c))
                return ::testing::AssertionFailure() << "a frame too many";
            if (in.status() != StreamStatus::AtEnd) return ::testing::AssertionFailure() << "not at end";
            return ::testing::AssertionSuccess();
        };
        EXPECT_TRUE(readAll());
        ::shutdown(pair.fds[0], SHUT_RDWR);  // frees a writer left blocked by a failure
        writer.join();
    }
}

TEST(FdInputStream, PeerClosingMidFrameEndsTheReader) {
    SocketPair pair;
    Bytes wire;
    VCTools::writeCommandMD(wire, TCommand(57, 5, 300));
    VCTools::writeCommandMD(wire, TCommand(58, 5, 300));
    wire.erase(wire.end() - 5, wire.end());  // the second frame cut short
    ASSERT_EQ(::write(pair.fds[1], wire.data(), wire.size()), static_cast<ssize_t>(wire.size()));
    ::shutdown(pair.fds[1], SHUT_WR);

    FdInputStream in(pair.fds[0]);
    TCommand c;
    EXPECT_TRUE(VCTools::readCommandNoCreate(in, c));
    EXPECT_EQ(c.CommandID, 57);
    EXPECT_FALSE(VCTools::readCommandNoCreate(in, c));
    EXPECT_EQ(c.CommandID, 58);
    EXPECT_EQ(VCTools::readCommand(in), std::nullopt);
}

TEST(FdOutputStream, BrokenPeerIsAnErrorNotASignal) {
    SocketPair pair;
    ::close(pair.fds[1]);
    pair.fds[1] = -1;
    FdOutputStream out(pair.fds[0]);
    EXPECT_FALSE(VCTools::writeCommand(out, TCommand(1, 2, 3)));
    EXPECT_FALSE(VCTools::checkOS(out));
    EXPECT_EQ(out.errorCode(), EPIPE);
}

}  // namespace
}  // namespace veltrin
