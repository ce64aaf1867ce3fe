#include "Streams.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace veltrin {

std::size_t InputStream::readSlow(std::uint8_t* dst, std::size_t n, bool all) {
    std::size_t got = 0;
    while (got < n) {
        if (cur_ == end_) {
            if (!readable() || !fill(n - got)) break;
        }
        const std::size_t k = std::min(n - got, static_cast<std::size_t>(end_ - cur_));
        std::memcpy(dst + got, cur_, k);
        cur_ += k;
        got += k;
        if (!all) break;
    }
    return got;
}

std::size_t InputStream::skip(std::size_t n) {
    std::size_t skipped = 0;
    while (skipped < n) {
        if (cur_ == end_) {
            if (!readable() || !fill(n - skipped)) break;
        }
        const std::size_t k = std::min(n - skipped, static_cast<std::size_t>(end_ - cur_));
        cur_ += k;
        skipped += k;
    }
    return skipped;
}

bool OutputStream::writeAll(const void* src, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(src);
    while (n > 0) {
        if (!writable()) return false;
        const long k = write(p, n);
        if (k < 0) return false;
        p += k;
        n -= static_cast<std::size_t>(k);
    }
    return true;
}

MemoryInputStream::MemoryInputStream(Bytes data) : owned_(std::move(data)) {
    begin_ = owned_.data();
    cur_ = begin_;
    end_ = begin_ + owned_.size();
}

MemoryInputStream::MemoryInputStream(std::span<const std::uint8_t> data) {
    begin_ = data.data();
    cur_ = begin_;
    end_ = begin_ + data.size();
}

std::size_t MemoryInputStream::position() const { return static_cast<std::size_t>(cur_ - begin_); }

bool MemoryInputStream::fill(std::size_t) {
    // Everything there is was available from the start: asking for more means the end is reached.
    status_ = StreamStatus::AtEnd;
    return false;
}

long MemoryOutputStream::write(const void* src, std::size_t n) {
    if (!writable()) return -1;
    const auto* p = static_cast<const std::uint8_t*>(src);
    data_.insert(data_.end(), p, p + n);
    return static_cast<long>(n);
}

FdInputStream::FdInputStream(int fd, std::size_t bufferSize)
    : fd_(fd), unbuffered_(bufferSize == 0), buffer_(bufferSize) {
    cur_ = end_ = buffer_.data();
}

bool FdInputStream::fill(std::size_t wanted) {
    if (unbuffered_ && buffer_.size() < wanted) buffer_.resize(wanted);
    std::uint8_t* base = buffer_.data();
    const std::size_t room = unbuffered_ ? wanted : buffer_.size();
    for (;;) {
        const ssize_t k = ::recv(fd_, base, room, 0);
        if (k > 0) {
            cur_ = base;
            end_ = base + k;
            return true;
        }
        if (k < 0 && errno == EINTR) continue;
        if (k < 0 && errno == ENOTSOCK) {
            const ssize_t r = ::read(fd_, base, room);
            if (r > 0) {
                cur_ = base;
                end_ = base + r;
                return true;
            }
            if (r < 0 && errno == EINTR) continue;
            status_ = r == 0 ? StreamStatus::AtEnd : StreamStatus::Error;
        } else {
            status_ = k == 0 ? StreamStatus::AtEnd : StreamStatus::Error;
        }
        cur_ = end_ = base;
        return false;
    }
}

FdOutputStream::FdOutputStream(int fd) : fd_(fd) {}

long FdOutputStream::write(const void* src, std::size_t n) {
    if (!writable()) return -1;
    for (;;) {
        ssize_t k = ::send(fd_, src, n, MSG_NOSIGNAL);
        if (k < 0 && errno == ENOTSOCK) k = ::write(fd_, src, n);
        if (k >= 0) return static_cast<long>(k);
        if (errno == EINTR) continue;
        error_ = errno;
        status_ = StreamStatus::Error;
        return -1;
    }
}

}  // namespace veltrin
