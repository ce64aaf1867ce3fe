#include "session/TSocketConnector.h"

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string_view>

#include "session/ConnectionObserver.h"
#include "session/FrameHandler.h"
#include "wire/ClientRecord.h"
#include "wire/Handshake.h"
#include "wire/Log.h"
#include "wire/TCommand.h"
#include "wire/VCTools.h"

namespace veltrin {
namespace {

enum Worker { kReader = 0, kWriter = 1 };

// Where a worker thread is, as far as releasing the connector is concerned. Running: its own code,
// which ends promptly once the socket is shut down. InOwnerCall: a call to the owner (or a wait on
// the other worker's call), which may wait for the thread that is releasing the connector.
enum class Phase { NotStarted, Running, InOwnerCall, Done };

// A payload buffer that grew past this is given back after its frame instead of being kept.
constexpr std::size_t kKeptPayloadCapacity = 1u << 20;
constexpr auto kWriterIdleWait = kThrottleSliceInterval;

void nameThread(std::string_view name) {
    // The platform keeps 15 characters of a thread's name.
    const std::string shortName(name.substr(0, 15));
    ::pthread_setname_np(::pthread_self(), shortName.c_str());
}

int remainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 1;
}

}  // namespace

// The state the worker threads share with the connector. The threads own a reference each, so a
// thread that had to be detached on release still finds everything it touches.
struct TSocketConnector::Shared {
    Shared(ConnectionObserver& observer, std::shared_ptr<WriterClock> writerClock)
        : owner(&observer), clock(std::move(writerClock)) {}

    // _wrLock guards dataBuffer and wakeWriter, nothing else; no other lock is taken inside it.
    std::mutex _wrLock;
    std::condition_variable dataReady;
    Bytes dataBuffer;
    bool wakeWriter = false;

    // The connector's own lock: stop flags, the owner (null once the connector is released) and the
    // workers' phases.
    mutable std::mutex stateLock;
    std::condition_variable stateChanged;
    bool readerTerminated = true;
    bool writerTerminated = true;
    ConnectionObserver* owner;
    Phase phase[2] = {Phase::NotStarted, Phase::NotStarted};
    bool readerReported = false;

    std::atomic<int> bytesPerSecond{0};
    std::atomic<std::uint32_t> uid{0};
    std::atomic<std::int32_t> rid{0};
    std::atomic<int> socketHandle{-1};
    // Replaced only by the connecting thread while no worker runs.
    std::unique_ptr<TcpStreamPair> streams;
    std::shared_ptr<WriterClock> clock;
    // Set by StartProcessors, so that the schedule starts when the connection does and not
    // whenever the writer thread gets to run.
    WriterClock::Clock::time_point firstKeepAlive;

    void append(std::uint16_t commandId, const PayloadWriter& payload) {
        {
            std::lock_guard lock(_wrLock);
            appendCommandFrame(dataBuffer, commandId, uid.load(), rid.load(), payload);
        }
        dataReady.notify_one();
    }

    void wakeWriterThread() {
        {
            std::lock_guard lock(_wrLock);
            wakeWriter = true;
        }
        dataReady.notify_one();
    }

    void terminate(bool reader, bool writer) {
        {
            std::lock_guard lock(stateLock);
            if (reader) readerTerminated = true;
            if (writer) writerTerminated = true;
        }
        if (writer) wakeWriterThread();
    }

    // A failure seen by one worker ends the whole connection; the shutdown wakes a reader blocked
    // in a receive, which the flags alone could not.
    void endConnection() {
        terminate(true, true);
        streams->shutdown();
    }

    bool isTerminated(Worker worker) const {
        std::lock_guard lock(stateLock);
        return worker == kReader ? readerTerminated : writerTerminated;
    }

    void setPhase(Worker worker, Phase p) {
        {
            std::lock_guard lock(stateLock);
            phase[worker] = p;
        }
        stateChanged.notify_all();
    }

    // Runs fn with the owner, unless the connector has been released. Meanwhile the worker counts
    // as being in an owner call.
    template <class Fn>
    void callOwner(Worker worker, Fn&& fn) {
        ConnectionObserver* observer = nullptr;
        {
            std::lock_guard lock(stateLock);
            if (owner == nullptr) return;
            observer = owner;
            phase[worker] = Phase::InOwnerCall;
        }
        struct BackToRunning {
            Shared& s;
            Worker w;
            ~BackToRunning() { s.setPhase(w, Phase::Running); }
        } restore{*this, worker};
        fn(*observer);
    }

    // The writer reports its end after the reader's, so the owner always sees 2 before 3 when the
    // connection ends as a whole. Waiting counts as an owner call: the reader may be waiting for
    // the owner's thread.
    void waitForReaderReport() {
        std::unique_lock lock(stateLock);
        if (!readerTerminated || readerReported) return;
        phase[kWriter] = Phase::InOwnerCall;
        stateChanged.notify_all();
        stateChanged.wait(lock, [&] { return readerReported; });
        phase[kWriter] = Phase::Running;
        stateChanged.notify_all();
    }
};

// ---- worker threads

void TSocketConnector::readerThreadProc(const std::shared_ptr<Shared>& s) {
    nameThread("SocketConnectorReader");
    logLine("Entering readerThreadProc");
    std::unique_ptr<FrameHandler> handler;
    s->callOwner(kReader, [&](ConnectionObserver& owner) {
        handler = owner.createFrameHandler(static_cast<int>(s->uid.load()), s->rid.load());
    });

    InputStream& in = s->streams->input();
    TCommand frame;  // reused for every command
    Bytes payload;
    try {
        while (!s->isTerminated(kReader)) {
            if (VCTools::readCommandNoCreate(in, frame)) {
                ReadStatus status = ReadStatus::Complete;
                if (frame.DataSize != 0) status = VCTools::readPayload(in, frame.DataSize, payload, kMaxPayloadSize);
                if (status == ReadStatus::TooLarge)
                    logf("ReaderStream frame %u refused: %u payload bytes", static_cast<unsigned>(frame.CommandID),
                         static_cast<unsigned>(frame.DataSize));
                // A payload cut short by the end of the stream is not dispatched: its handler would
                // read zeros in place of the missing bytes.
                if (status == ReadStatus::Complete && handler) {
                    const std::span<const std::uint8_t> data =
                        frame.DataSize != 0 ? std::span<const std::uint8_t>(payload) : std::span<const std::uint8_t>();
                    s->callOwner(kReader, [&](ConnectionObserver&) { handler->HandleInput(frame, data); });
                }
                if (payload.capacity() > kKeptPayloadCapacity) Bytes().swap(payload);
            }
            if (!in.readable()) {
                logf("ReaderStream status: %lu", static_cast<unsigned long>(in.status()));
                s->endConnection();
            }
        }
    } catch (const std::exception& e) {
        logf("readerThreadProc exception: %s", e.what());
        s->endConnection();
    }

    in.close();
    // The dispatcher goes before the report: once reported, the owner may be gone.
    handler.reset();
    s->callOwner(kReader, [](ConnectionObserver& owner) { owner.Safe_NotifyConnectionStatusChange(2); });
    {
        std::lock_guard lock(s->stateLock);
        s->readerReported = true;
    }
    s->stateChanged.notify_all();
    logLine("Exiting readerThreadProc");
    s->setPhase(kReader, Phase::Done);
}

void TSocketConnector::writerThreadProc(const std::shared_ptr<Shared>& s) {
    nameThread("SocketConnectorWriter");
    logLine("Entering writerThreadProc");
    WriterClock& clock = *s->clock;
    OutputStream& out = s->streams->output();
    auto nextKeepAlive = s->firstKeepAlive;
    Bytes pending;
    const auto writerStopped = [&] { return s->isTerminated(kWriter); };

    while (!writerStopped()) {
        try {
            if (clock.now() >= nextKeepAlive) {
                s->append(kKeepAliveCommand, [](Bytes&) {});
                nextKeepAlive = clock.now() + kKeepAliveInterval;
            }
            pending.clear();
            {
                std::unique_lock lock(s->_wrLock);
                if (s->dataBuffer.empty() && !s->wakeWriter)
                    s->dataReady.wait_for(lock, kWriterIdleWait,
                                          [&] { return !s->dataBuffer.empty() || s->wakeWriter; });
                s->wakeWriter = false;
                pending.swap(s->dataBuffer);
            }
            // The socket is written without the output lock: senders keep appending meanwhile.
            if (!pending.empty()) {
                writeThrottled(out, pending, s->bytesPerSecond.load(), clock, writerStopped);
                if (!out.writable()) s->endConnection();
            }
        } catch (const std::exception& e) {
            logf("exceptionb %s", e.what());
            s->terminate(false, true);
        }
    }

    out.close();
    s->waitForReaderReport();
    s->callOwner(kWriter, [](ConnectionObserver& owner) { owner.Safe_NotifyConnectionStatusChange(3); });
    logLine("Exiting writerThreadProc");
    s->setPhase(kWriter, Phase::Done);
}

// ---- TSocketConnector

TSocketConnector::TSocketConnector(ConnectionObserver& observer, ConnectorSettings settings,
                                   std::shared_ptr<WriterClock> clock)
    : mainView(observer),
      settings_(std::move(settings)),
      shared_(std::make_shared<Shared>(observer, clock ? std::move(clock) : WriterClock::system())) {
    shared_->bytesPerSecond = settings_.bytesPerSecond;
}

TSocketConnector::~TSocketConnector() {
    {
        std::lock_guard lock(shared_->stateLock);
        shared_->owner = nullptr;
        shared_->readerTerminated = true;
        shared_->writerTerminated = true;
    }
    shared_->wakeWriterThread();
    if (shared_->streams) shared_->streams->shutdown();
    releaseThread(readerThread, kReader);
    releaseThread(writerThread, kWriter);
    {
        std::lock_guard lock(shared_->_wrLock);
        shared_->dataBuffer.clear();
    }
    logLine("SocketConnector - Dealloc called.");
}

void TSocketConnector::releaseThread(std::thread& thread, int which) {
    if (!thread.joinable()) return;
    if (thread.get_id() == std::this_thread::get_id()) {
        thread.detach();
        return;
    }
    const auto worker = static_cast<Worker>(which);
    // On the main thread, a worker inside an owner call may be waiting for this very thread: it is
    // left to finish on its own. Anywhere else its call ends by itself and the worker is joined.
    const bool onMainThread = mainView.isMainThread();
    bool done = false;
    {
        std::unique_lock lock(shared_->stateLock);
        shared_->stateChanged.wait(lock, [&] {
            const Phase p = shared_->phase[worker];
            return p == Phase::Done || (onMainThread && p == Phase::InOwnerCall);
        });
        done = shared_->phase[worker] == Phase::Done;
    }
    if (done)
        thread.join();
    else
        thread.detach();
}

int TSocketConnector::ConnectSocket(const std::string& host, int port, int timeoutMs) {
    auto streams = std::make_unique<TcpStreamPair>(host, port);
    setBytesPerSecond(settings_.bytesPerSecond);
    streams->setProxy(settings_.proxy);
    if (!streams->open(timeoutMs)) {
        logf("Stream error %s", streams->errorText().c_str());
        streams->close();
        shared_->streams.reset();
        shared_->socketHandle = -1;
        mainView.Safe_NotifyConnectionStatusChange(1);
        return kResultConnectFailed;
    }
    logLine("Streams Connected");
    shared_->socketHandle = streams->nativeSocket();
    logf("setsockoption: %d", streams->setNoDelay());
    shared_->streams = std::move(streams);
    mainView.Safe_NotifyConnectionStatusChange(0);
    return kResultSuccess;
}

int TSocketConnector::connectToHost(const std::string& host, int port, int timeoutMs) {
    // Each attempt gets a new stream pair; once the threads ran, the connection is this object's
    // for good and a new session takes a new connector.
    if (processorsStarted_) {
        logf("connect result: %d", kResultConnectFailed);
        return kResultConnectFailed;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int result = ConnectSocket(host, port, timeoutMs);
    if (result == kResultSuccess) {
        TcpStreamPair& streams = *shared_->streams;
        // The version check shares the connect deadline: a server that accepts and stays silent
        // fails the attempt (300) instead of holding it.
        streams.setReceiveTimeout(remainingMs(deadline));
        result = openChannel(ChannelSelector::Main, streams.input(), streams.output(),
                             [this](const std::string& version, const std::string& date) {
                                 mainView.Safe_UpdateNeeded(version, date);
                             });
        if (!versionCheckPasses(ChannelSelector::Main, result)) {
            // The attempt is over: a later one starts from a new stream pair, and nothing may be
            // sent on this one.
            shared_->streams.reset();
            shared_->socketHandle = -1;
        }
    }
    logf("connect result: %d", result);
    return result;
}

int TSocketConnector::LogIn(const std::string& userName, const std::string& password, int roomId) {
    shared_->rid = roomId;
    logLine("About to log on");
    if (!shared_->streams || processorsStarted_) {
        logf("Log on result %d", kResultExchangeFailed);
        return kResultExchangeFailed;
    }
    TcpStreamPair& streams = *shared_->streams;
    streams.setReceiveTimeout(settings_.logOnTimeoutMs);
    const int result = LogOnUser(userName, password, streams.input(), streams.output());
    logf("Log on result %d", result);
    if (result != kResultSuccess) return result;

    const TClientRecord record = VCTools::readClientRec(streams.input());
    // A record cut short would give every later frame a made-up user id.
    if (!streams.input().readable()) return kResultExchangeFailed;
    shared_->uid = static_cast<std::uint32_t>(record.UID);
    setOwnFullName(record.FullName);
    mainView.Safe_SetClientRecord(record);
    logLine("ClientRec Read.");
    return kResultSuccess;
}

int TSocketConnector::StartProcessors() {
    if (!shared_->streams || processorsStarted_) return -1;
    processorsStarted_ = true;
    // From here the reader waits for the server as long as it takes; the keep-alive keeps the
    // connection busy.
    shared_->streams->setReceiveTimeout(0);
    {
        std::lock_guard lock(shared_->stateLock);
        shared_->readerTerminated = false;
        shared_->writerTerminated = false;
        shared_->readerReported = false;
        shared_->phase[kReader] = Phase::Running;
        shared_->phase[kWriter] = Phase::Running;
    }
    shared_->firstKeepAlive = shared_->clock->now() + kKeepAliveInterval;
    readerThread = std::thread(readerThreadProc, shared_);
    writerThread = std::thread(writerThreadProc, shared_);
    return 0;
}

void TSocketConnector::DisconnectSocket() {
    shared_->terminate(true, true);
    logLine("Shutting down sockets");
    if (shared_->streams) shared_->streams->shutdown();
}

std::size_t TSocketConnector::Safe_GetDataQueueSize() const {
    std::lock_guard lock(shared_->_wrLock);
    return shared_->dataBuffer.size();
}

void TSocketConnector::setBytesPerSecond(int value) {
    std::lock_guard lock(shared_->stateLock);
    shared_->bytesPerSecond = value;
}

int TSocketConnector::getBytesPerSecond() const {
    std::lock_guard lock(shared_->stateLock);
    return shared_->bytesPerSecond.load();
}

int TSocketConnector::bytesPerSecond() const { return shared_->bytesPerSecond.load(std::memory_order_relaxed); }

void TSocketConnector::TerminateReader() { shared_->terminate(true, false); }

void TSocketConnector::TerminateWriter() { shared_->terminate(false, true); }

bool TSocketConnector::isReaderTerminated() const { return shared_->isTerminated(kReader); }

bool TSocketConnector::isWriterTerminated() const { return shared_->isTerminated(kWriter); }

std::int32_t TSocketConnector::uid() const { return static_cast<std::int32_t>(shared_->uid.load()); }

std::int32_t TSocketConnector::rid() const { return shared_->rid.load(); }

int TSocketConnector::socketHandle() const { return shared_->socketHandle.load(); }

void TSocketConnector::appendCommand(std::uint16_t commandId, const PayloadWriter& payload) {
    shared_->append(commandId, payload);
}

void TSocketConnector::clearContentMarks() { mainView.Safe_ClearGreenTics(); }

}  // namespace veltrin
