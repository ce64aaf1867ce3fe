#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <string>
#include <vector>

#include "whiteboard/CanvasTypes.h"

namespace veltrin::wb::testing {

// Records what the canvas reports, as the controller would hear it.
class RecordingDelegate final : public ActivePaintDelegate {
public:
    struct Call {
        std::string what;
        TPaintObject object;
        std::int32_t value = 0;
    };
    void ActivePaint_NewObject(const TPaintObject& o) override { calls.push_back({"new", o}); }
    void ActivePaint_UpdateObject(const TPaintObject& o) override { calls.push_back({"update", o}); }
    void ActivePaint_BeforeDeleteObject(const TPaintObject& o) override { calls.push_back({"delete", o}); }
    void ActivePaint_MoveToPos(const TPaintObject& o, std::int32_t position) override {
        calls.push_back({"move", o, position});
    }
    void ActivePaint_Pointer(std::int32_t x, std::int32_t y, bool show, std::int32_t) override {
        TPaintObject at;
        at.FX = x;
        at.FY = y;
        calls.push_back({show ? "pointer" : "pointer-hidden", at});
    }
    void ActivePaint_ShowPopUpAtPoint(const QPoint&) override { calls.push_back({"general-menu", {}}); }
    void ActivePaint_DetailsOfObject(const TPaintObject& o, const QPoint&) override {
        calls.push_back({"object-menu", o});
    }
    void ActivePaint_CanvasModeChangedTo(std::int32_t mode) override { calls.push_back({"mode", {}, mode}); }

    std::vector<Call> of(const std::string& what) const {
        std::vector<Call> found;
        for (const Call& c : calls)
            if (c.what == what) found.push_back(c);
        return found;
    }
    std::vector<Call> calls;
};

inline void sendMouse(QWidget* w, QEvent::Type type, const QPointF& at, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void press(QWidget* w, const QPointF& at, Qt::MouseButton b = Qt::LeftButton) {
    sendMouse(w, QEvent::MouseButtonPress, at, b);
}
inline void drag(QWidget* w, const QPointF& at, Qt::MouseButton b = Qt::LeftButton) {
    sendMouse(w, QEvent::MouseMove, at, b);
}
inline void release(QWidget* w, const QPointF& at, Qt::MouseButton b = Qt::LeftButton) {
    sendMouse(w, QEvent::MouseButtonRelease, at, b);
}

}  // namespace veltrin::wb::testing
