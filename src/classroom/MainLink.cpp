#include "MainLink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <atomic>
#include <thread>

namespace veltrin {
namespace {

std::atomic<int>& retiring() {
    static std::atomic<int> count{0};
    return count;
}

}  // namespace

void retire(std::shared_ptr<MainLink> link) {
    if (!link) return;
    {
        std::lock_guard lock(link->mutex);
        link->cancelled = true;
        if (link->connecting) return;
    }
    ++retiring();  // counted before the thread exists, so a waiter cannot miss it
    std::thread([link = std::move(link)]() mutable {
        if (link->connector) link->connector->DisconnectSocket();
        link.reset();
        --retiring();
    }).detach();
}

LinkThreadScope::LinkThreadScope() { ++retiring(); }
LinkThreadScope::~LinkThreadScope() { --retiring(); }

bool waitForRetiredLinks(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (retiring().load() > 0 && !deadline.hasExpired()) {
        // Keep serving the main-thread calls the retiring threads may be waiting on.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return retiring().load() == 0;
}

}  // namespace veltrin
