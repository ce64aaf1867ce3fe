#pragma once

#include <memory>
#include <string>

namespace veltrin {

class FrameHandler;
struct TClientRecord;

// What the main connection tells its owner (the classroom controller). Called from the connecting,
// reader and writer threads: implementations marshal to the main thread themselves.
class ConnectionObserver {
public:
    virtual ~ConnectionObserver() = default;

    // Status codes: 0 connected, 1 connecting failed, 2 reader ended, 3 writer ended.
    // Posted to the main thread and waited for.
    virtual void Safe_NotifyConnectionStatusChange(int status) = 0;

    // The own client record read right after a successful log-on.
    virtual void Safe_SetClientRecord(const TClientRecord& record) = 0;

    // The server says this client is outdated and sent its version and date: show "Update Needed",
    // open the download page and quit.
    virtual void Safe_UpdateNeeded(const std::string& serverVersion, const std::string& serverDate) = 0;

    // Clears the participants' content-done marks before a poll, forced content or a new board is
    // sent. Called on the sending thread, never under the connection's output lock; posted to the
    // main thread and waited for.
    virtual void Safe_ClearGreenTics() {}

    // Whether the calling thread is the main thread, to which the Safe_ entry points hand their work.
    // The connector asks when it is released there: a worker thread inside a call that waits for the
    // main thread cannot be joined from it.
    virtual bool isMainThread() const { return false; }

    // Creates the dispatcher of incoming frames when the reader thread starts.
    virtual std::unique_ptr<FrameHandler> createFrameHandler(int uid, int rid) = 0;
};

}  // namespace veltrin
