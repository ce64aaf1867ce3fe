#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "session/ConnectorSettings.h"
#include "session/OutgoingCommands.h"
#include "session/ThrottledWrite.h"

namespace veltrin {

class ConnectionObserver;

// The client's one connection to the classroom server's command channel.
//
// The connecting thread calls connectToHost (TCP through the configured proxy, version check,
// selector 250), LogIn and StartProcessors, in that order; connectToHost may be repeated with other
// ports until one succeeds. StartProcessors runs two threads: the reader hands every received frame
// to the FrameHandler the owner creates for it, and the writer drains the pending output at the
// configured byte rate and appends a keep-alive (57) every 30 seconds. Commands (the send_ members
// inherited from OutgoingCommands) may be appended from any thread at any time; those appended
// before StartProcessors go out first.
//
// The owner learns of the connection through ConnectionObserver: status 0 (connected) or 1 (connect
// failed) from connectToHost, 2 when the reader ends and then 3 when the writer ends. Either thread
// ending stops the other.
//
// Release: the destructor stops both threads and joins them. When it runs on the main thread
// (ConnectionObserver::isMainThread) while a thread is inside a call to the owner — a status report
// or a dispatched frame, which may be waiting for the main thread — that thread is detached instead:
// the main thread may be releasing the connector from within the very work the thread waits for
// (a lost connection torn down from its status report). A detached thread makes no further calls to
// the owner; it keeps the state it shares with the connector alive until it ends. The owner must
// outlive the call such a thread is in.
class TSocketConnector final : public OutgoingCommands {
public:
    static constexpr std::int32_t kKeepAliveCommand = 57;
    static constexpr std::chrono::seconds kKeepAliveInterval{30};
    // A frame announcing more payload than this ends the connection instead of being read.
    static constexpr std::uint32_t kMaxPayloadSize = 64u << 20;

    // init: both stop flags set, empty output, throttle from the settings.
    TSocketConnector(ConnectionObserver& mainView, ConnectorSettings settings,
                     std::shared_ptr<WriterClock> clock = WriterClock::system());
    ~TSocketConnector() override;

    // Connects (at most timeoutMs for the TCP and proxy set-up and the version check together),
    // reports status 0 or 1, runs the version check and writes the channel selector after 0 or
    // 400. Answers 0, 400, 13 (connect failed), 300, -1 or the server's refusal code.
    int connectToHost(const std::string& host, int port, int timeoutMs);
    // Logs on with the session's credentials and reads the own client record, which goes to the
    // owner and gives the uid of every later frame. Answers 0 or the log-on result.
    int LogIn(const std::string& userName, const std::string& password, int roomId);
    // Starts the reader, then the writer and the keep-alive. Answers 0, or -1 without a connection
    // or when the threads ran already.
    int StartProcessors();
    // Stops both threads and shuts the socket down in both directions; they report 2 and 3.
    void DisconnectSocket();

    // Bytes of whole commands waiting to be written.
    std::size_t Safe_GetDataQueueSize() const;

    void setBytesPerSecond(int value);
    int getBytesPerSecond() const;
    int bytesPerSecond() const;  // without the lock, for hot paths

    void TerminateReader();
    void TerminateWriter();
    bool isReaderTerminated() const;
    bool isWriterTerminated() const;

    std::int32_t uid() const override;
    std::int32_t rid() const override;
    // The native socket of the current connection, -1 when none.
    int socketHandle() const;

protected:
    void appendCommand(std::uint16_t commandId, const PayloadWriter& payload) override;
    void clearContentMarks() override;

private:
    struct Shared;

    // ConnectSocket:ToHost:OnPort: — answers 0 or 13.
    int ConnectSocket(const std::string& host, int port, int timeoutMs);
    static void readerThreadProc(const std::shared_ptr<Shared>& s);
    static void writerThreadProc(const std::shared_ptr<Shared>& s);
    void releaseThread(std::thread& thread, int which);

    ConnectionObserver& mainView;
    ConnectorSettings settings_;
    std::shared_ptr<Shared> shared_;
    std::thread readerThread;
    std::thread writerThread;
    bool processorsStarted_ = false;
};

}  // namespace veltrin
