#include "PushToTalkMonitor.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/KeyCodes.h"

namespace veltrin {

PushToTalkMonitor::PushToTalkMonitor(Handler handler) : handler_(std::move(handler)) {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

PushToTalkMonitor::~PushToTalkMonitor() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool PushToTalkMonitor::eventFilter(QObject* watched, QEvent* event) {
    const bool down = event->type() == QEvent::KeyPress;
    if (!down && event->type() != QEvent::KeyRelease) return QObject::eventFilter(watched, event);
    // A key reaches the top-level window first and then every widget of the focus chain; the
    // window's delivery is the one that happens exactly once.
    if (!watched->isWindowType()) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int virtualKey = virtualKeyFromQtKey(key->key(), key->modifiers().testFlag(Qt::KeypadModifier));
    if (virtualKey >= 0 && handler_(virtualKey, down, key->isAutoRepeat())) return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace veltrin
