#include "server/core/Client.h"

#include "server/core/HandlerRegistry.h"
#include "server/core/Room.h"
#include "server/core/Server.h"
#include "wire/Log.h"

namespace veltrin::server {

namespace {
constexpr std::size_t kReadBufferSize = 64 * 1024;
// Writes gathered into one call; bounded so that a long backlog does not build a huge
// buffer sequence in one go.
constexpr std::size_t kMaxGather = 64;
}  // namespace

Client::Client(Server& server, asio::ip::tcp::socket socket, std::uint64_t serial)
    : server_(server),
      socket_(std::move(socket)),
      timer_(server.io()),
      serial_(serial),
      assembler_(server.options().maxPayload),
      readBuffer_(kReadBufferSize) {
    asio::error_code ec;
    const auto peer = socket_.remote_endpoint(ec);
    if (!ec) peerAddress_ = peer.address().to_string();
    const auto local = socket_.local_endpoint(ec);
    if (!ec) {
        localAddress_ = local.address().to_string();
        localPort_ = local.port();
    }
    socket_.set_option(asio::ip::tcp::no_delay(true), ec);
    started_ = lastActivity_ = Clock::now();
}

void Client::start() {
    readMore();
    armTimer();
}

void Client::expectBlock(std::size_t size, BlockHandler handler) {
    blockHandler_ = std::move(handler);
    assembler_.expectBlock(size);
}

void Client::expectFrames(const HandlerRegistry& registry) {
    registry_ = &registry;
    assembler_.expectFrames();
}

void Client::readMore() {
    if (reading_ || closed_ || stopReading_) return;
    reading_ = true;
    socket_.async_read_some(asio::buffer(readBuffer_),
                            [self = shared_from_this()](const asio::error_code& ec, std::size_t n) {
                                self->onRead(ec, n);
                            });
}

void Client::onRead(const asio::error_code& ec, std::size_t n) {
    reading_ = false;
    if (closed_) return;
    if (ec) {
        close(ec == asio::error::eof ? "closed by peer" : "read failed: " + ec.message());
        return;
    }
    lastActivity_ = Clock::now();
    if (lingering_) {
        readMore();  // a closing connection only drains what the peer still sends
        return;
    }
    assembler_.feed(std::span<const std::uint8_t>(readBuffer_.data(), n));
    process();
    // Bytes that nothing is expecting yet (a peer racing ahead of a handshake step) are bounded
    // like a frame.
    if (!closed_ && assembler_.pending() > server_.options().maxPayload + kFrameHeaderSize) {
        server_.counters().dropped++;
        close("too much unexpected input");
        return;
    }
    readMore();
}

void Client::process() {
    while (!closed_ && !stopReading_) {
        switch (assembler_.next()) {
            case FrameAssembler::Status::NeedMore:
                return;
            case FrameAssembler::Status::Block: {
                auto handler = std::move(blockHandler_);
                blockHandler_ = nullptr;
                if (handler) handler(*this, assembler_.block());
                break;
            }
            case FrameAssembler::Status::Frame: {
                const TCommand& command = assembler_.header();
                server_.traceFrame(*this, command);
                if (registry_) {
                    CommandContext context{server_, *this, command, assembler_.payload()};
                    registry_->dispatch(context);
                }
                break;
            }
            case FrameAssembler::Status::TooLarge:
                logf("dropping connection %llu: frame %u announces %u bytes",
                     static_cast<unsigned long long>(serial_), assembler_.header().CommandID,
                     assembler_.header().DataSize);
                server_.counters().dropped++;
                close("frame too large");
                return;
        }
    }
}

void Client::send(Bytes bytes) { send(std::make_shared<const Bytes>(std::move(bytes))); }

void Client::send(std::shared_ptr<const Bytes> bytes) {
    if (closed_ || lingering_ || !bytes || bytes->empty()) return;
    queuedBytes_ += bytes->size();
    if (queuedBytes_ > server_.options().maxQueuedBytes) {
        logf("dropping connection %llu: %zu bytes of output unread", static_cast<unsigned long long>(serial_),
             queuedBytes_);
        server_.counters().dropped++;
        close("output backlog");
        return;
    }
    queue_.push_back(std::move(bytes));
    if (!writing_) writeMore();
}

void Client::sendFrame(std::uint16_t commandId, std::uint16_t result, std::span<const std::uint8_t> payload) {
    TCommand header(commandId, static_cast<std::uint32_t>(uid()), room() ? room()->id() : 0);
    header.Result = result;
    send(encodeFrame(header, payload));
}

void Client::writeMore() {
    if (closed_ || writing_ || queue_.empty()) return;
    std::vector<asio::const_buffer> buffers;
    while (!queue_.empty() && inflight_.size() < kMaxGather) {
        inflight_.push_back(std::move(queue_.front()));
        queue_.pop_front();
        buffers.emplace_back(inflight_.back()->data(), inflight_.back()->size());
    }
    writing_ = true;
    asio::async_write(socket_, buffers,
                      [self = shared_from_this()](const asio::error_code& ec, std::size_t) { self->onWrite(ec); });
}

void Client::onWrite(const asio::error_code& ec) {
    writing_ = false;
    for (const auto& b : inflight_) queuedBytes_ -= b->size();
    inflight_.clear();
    if (closed_) return;
    if (ec) {
        close("write failed: " + ec.message());
        return;
    }
    if (!queue_.empty()) {
        writeMore();
    } else if (flushThenClose_) {
        beginLinger();
    }
}

void Client::closeAfterFlush(const std::string& reason) {
    if (closed_ || flushThenClose_) return;
    logf("closing connection %llu: %s", static_cast<unsigned long long>(serial_), reason.c_str());
    flushThenClose_ = true;
    stopReading_ = true;
    server_.clientClosing(*this);
    if (!writing_ && queue_.empty()) beginLinger();
}

void Client::beginLinger() {
    // Half-close and keep reading until the peer closes too: closing with unread input would
    // reset the connection, and a reset can destroy the last frames before the peer reads them.
    lingering_ = true;
    stopReading_ = false;
    lingerStarted_ = Clock::now();
    asio::error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
    readMore();
    armTimer();
}

void Client::close(const std::string& reason) {
    if (closed_) return;
    auto self = shared_from_this();  // the server lets go of its reference below
    closed_ = true;
    asio::error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    timer_.cancel();
    queue_.clear();
    server_.clientClosed(*this, reason);
}

Client::Clock::time_point Client::deadline() const {
    const auto& o = server_.options();
    if (lingering_) return lingerStarted_ + o.lingerTime;
    if (!assembler_.expectingFrames() || !loggedOn()) return started_ + o.handshakeTimeout;
    if (o.idleTimeout.count() <= 0) return Clock::time_point::max();
    return lastActivity_ + o.idleTimeout;
}

void Client::armTimer() {
    if (closed_) return;
    const auto when = deadline();
    if (when == Clock::time_point::max()) return;
    // One wait at a time; a re-arm for a nearer deadline (lingering) replaces the pending one.
    timer_.expires_at(when);
    timer_.async_wait([self = shared_from_this()](const asio::error_code& ec) {
        if (ec == asio::error::operation_aborted) return;
        self->onTimer();
    });
}

void Client::onTimer() {
    if (closed_) return;
    if (Clock::now() < deadline()) {
        armTimer();
        return;
    }
    if (lingering_) {
        close("closed");
        return;
    }
    server_.counters().dropped++;
    close(loggedOn() ? "idle timeout" : "handshake timeout");
}

}  // namespace veltrin::server
