#pragma once

#include <memory>
#include <mutex>

#include "classroom/MainThreadMarshaller.h"
#include "session/TSocketConnector.h"

namespace veltrin {

// The main connection together with the marshaller its threads report through. Shared by the
// controller and the connect thread; whoever lets go last destroys it, and never on the main
// thread while its threads may be waiting for the main thread (see retire()).
struct MainLink {
    // Declared first so that it outlives the connector and the threads that call it.
    std::shared_ptr<MainThreadMarshaller> marshaller;
    std::unique_ptr<TSocketConnector> connector;

    std::mutex mutex;
    bool connecting = false;  // the connect thread still uses the connector
    bool cancelled = false;   // the classroom let go: the connect thread stops at its next step

    bool isCancelled() {
        std::lock_guard lock(mutex);
        return cancelled;
    }
};

// Lets go of a main connection: stops it and, unless the connect thread still uses it (that thread
// then finishes the job), disconnects and destroys it on a thread of its own, so that the main
// thread never joins threads that may be waiting for it.
void retire(std::shared_ptr<MainLink> link);

}  // namespace veltrin

namespace veltrin {

// Counts a thread that may hold the last reference to a main connection, for waitForRetiredLinks.
class LinkThreadScope {
public:
    LinkThreadScope();
    ~LinkThreadScope();
    LinkThreadScope(const LinkThreadScope&) = delete;
    LinkThreadScope& operator=(const LinkThreadScope&) = delete;
};

// Waits until every retired connection is gone, at most `timeoutMs`. The application calls it
// before it quits, while the main thread still serves the calls those connections' threads wait on.
bool waitForRetiredLinks(int timeoutMs);

}  // namespace veltrin
