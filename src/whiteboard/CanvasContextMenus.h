#pragma once

#include <functional>
#include <memory>

#include <QString>

class QMenu;
class QWidget;

namespace veltrin::wb {

class TPaintObject;

// What the items of the canvas's context menus do; items without an action do nothing.
struct CanvasMenuActions {
    std::function<void()> pasteText;
    std::function<void()> removeAllMarkup;
    std::function<void()> removeWhiteboard;
    std::function<void()> editText;
    std::function<void()> deleteObject;
    std::function<void()> bringToFront;
    std::function<void()> sendToBack;
};

// "Witeboard General Context Menu": paste, then the two removals.
std::unique_ptr<QMenu> buildGeneralMenu(const CanvasMenuActions& actions, QWidget* parent);

// "Witeboard Object Contextual Menu" for `object`, titled with its id and its creator's name.
std::unique_ptr<QMenu> buildObjectMenu(const TPaintObject& object, const QString& creatorName,
                                       const CanvasMenuActions& actions, QWidget* parent);

}  // namespace veltrin::wb
