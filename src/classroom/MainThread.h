#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <type_traits>
#include <utility>

namespace veltrin {

// The two ways a network or media thread reaches the main thread. The context object decides where
// the work runs and for how long: work posted to a context that is destroyed before it runs is
// dropped, and a thread waiting on such work is released (the result is then value-initialised).

// Queues the work on the context's thread and returns at once.
template <typename F>
void postToMain(QObject* context, F&& work) {
    QMetaObject::invokeMethod(context, std::forward<F>(work), Qt::QueuedConnection);
}

// Runs the work on the context's thread and waits for it; runs inline when already there, so it
// can never deadlock against itself.
template <typename F>
auto postAndWait(QObject* context, F&& work) -> std::invoke_result_t<F> {
    using R = std::invoke_result_t<F>;
    if (QThread::currentThread() == context->thread()) return work();
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(context, std::forward<F>(work), Qt::BlockingQueuedConnection);
    } else {
        R result{};
        QMetaObject::invokeMethod(context, std::forward<F>(work), Qt::BlockingQueuedConnection, &result);
        return result;
    }
}

}  // namespace veltrin
