#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace veltrin {

using Bytes = std::vector<std::uint8_t>;

// The states a socket stream goes through. checkIS/checkOS test for Open/Reading and Open/Writing.
enum class StreamStatus { NotOpen, Opening, Open, Reading, Writing, AtEnd, Closed, Error };

// A byte source read by exactly one thread. Buffered streams expose their buffer as [cur_, end_)
// so that the primitives copy straight out of it; fill() is only reached when the buffer runs dry.
class InputStream {
public:
    InputStream() = default;
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;
    virtual ~InputStream() = default;

    // Reads exactly n bytes unless the stream ends or fails first; answers the count read.
    std::size_t readFully(void* dst, std::size_t n) {
        if (static_cast<std::size_t>(end_ - cur_) >= n) {
            if (n != 0) std::memcpy(dst, cur_, n);
            cur_ += n;
            return n;
        }
        return readSlow(static_cast<std::uint8_t*>(dst), n, true);
    }
    // One read: up to n bytes with at most one blocking wait; answers the count (0 at end/error).
    std::size_t readSome(void* dst, std::size_t n) {
        if (cur_ != end_) {
            const std::size_t k = std::min(n, static_cast<std::size_t>(end_ - cur_));
            std::memcpy(dst, cur_, k);
            cur_ += k;
            return k;
        }
        return readSlow(static_cast<std::uint8_t*>(dst), n, false);
    }
    // Skips n bytes (as readFully without keeping them); answers the count skipped.
    std::size_t skip(std::size_t n);

    // Bytes that can be had without blocking.
    std::size_t buffered() const { return static_cast<std::size_t>(end_ - cur_); }
    StreamStatus status() const { return status_; }
    bool readable() const { return status_ == StreamStatus::Open || status_ == StreamStatus::Reading; }
    virtual void close() { status_ = StreamStatus::Closed; }
    // Gives up on the stream because what follows can no longer be framed (the peer claimed an
    // impossible size): buffered bytes are dropped and readable() answers false from now on.
    void markUnusable() {
        cur_ = end_;
        status_ = StreamStatus::Error;
    }

protected:
    // Makes more bytes available in [cur_, end_), blocking until at least one arrives. `wanted` is
    // the caller's outstanding need, a hint for unbuffered streams. Answers false at the end of the
    // stream or on failure, having set status_ to AtEnd or Error.
    virtual bool fill(std::size_t wanted) = 0;

    const std::uint8_t* cur_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    StreamStatus status_ = StreamStatus::Open;

private:
    std::size_t readSlow(std::uint8_t* dst, std::size_t n, bool all);
};

// A byte sink. write() is one attempt; writeAll() repeats until every byte is accepted.
class OutputStream {
public:
    OutputStream() = default;
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;
    virtual ~OutputStream() = default;

    // Answers the number of bytes accepted, or -1 on failure (status_ becomes Error).
    virtual long write(const void* src, std::size_t n) = 0;
    bool writeAll(const void* src, std::size_t n);

    StreamStatus status() const { return status_; }
    bool writable() const { return status_ == StreamStatus::Open || status_ == StreamStatus::Writing; }
    // The error number of the last failure (errno-style), 0 when none.
    int errorCode() const { return error_; }
    virtual void close() { status_ = StreamStatus::Closed; }

protected:
    StreamStatus status_ = StreamStatus::Open;
    int error_ = 0;
};

// Reads from bytes held in memory (a received payload, a file loaded whole, a test vector).
// The bytes are copied unless a span that outlives the stream is given to the span constructor.
class MemoryInputStream final : public InputStream {
public:
    explicit MemoryInputStream(Bytes data);
    // Borrows: the caller keeps `data` alive while the stream is used.
    explicit MemoryInputStream(std::span<const std::uint8_t> data);
    std::size_t position() const;

protected:
    bool fill(std::size_t wanted) override;

private:
    Bytes owned_;
    const std::uint8_t* begin_ = nullptr;
};

// Appends to a byte buffer in memory; never fails.
class MemoryOutputStream final : public OutputStream {
public:
    MemoryOutputStream() = default;
    long write(const void* src, std::size_t n) override;
    const Bytes& data() const { return data_; }
    Bytes take() { return std::move(data_); }

private:
    Bytes data_;
};

// Reads a connected socket (or any file descriptor). With a buffer (the normal case) each recv
// asks for as much as the buffer holds and the primitives are served from it; with bufferSize 0
// every primitive costs a recv of exactly what it needs (kept for comparison in the benchmarks).
// The descriptor is not owned.
class FdInputStream final : public InputStream {
public:
    static constexpr std::size_t kDefaultBufferSize = 64 * 1024;
    explicit FdInputStream(int fd, std::size_t bufferSize = kDefaultBufferSize);
    int fd() const { return fd_; }

protected:
    bool fill(std::size_t wanted) override;

private:
    int fd_;
    bool unbuffered_;
    Bytes buffer_;
};

// Writes to a connected socket (or any file descriptor) with send/write; not buffered.
// The descriptor is not owned.
class FdOutputStream final : public OutputStream {
public:
    explicit FdOutputStream(int fd);
    long write(const void* src, std::size_t n) override;
    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace veltrin
