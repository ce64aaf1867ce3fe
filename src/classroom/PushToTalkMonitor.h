#pragma once

#include <QObject>

#include <functional>

namespace veltrin {

// Watches every key press and release of the application for the push-to-talk key, whatever has
// the focus. The handler gets the virtual key code, down or up, and the repeat flag, and answers
// whether it consumed the event. Installed for as long as the object lives.
class PushToTalkMonitor final : public QObject {
public:
    using Handler = std::function<bool(int virtualKey, bool down, bool isRepeat)>;
    explicit PushToTalkMonitor(Handler handler);
    ~PushToTalkMonitor() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler handler_;
};

}  // namespace veltrin
