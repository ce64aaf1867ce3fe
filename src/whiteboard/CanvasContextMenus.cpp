#include "whiteboard/CanvasContextMenus.h"

#include <QMenu>

#include "whiteboard/TPaintObject.h"

namespace veltrin::wb {

namespace {

void addItem(QMenu& menu, const QString& title, const std::function<void()>& action) {
    QAction* item = menu.addAction(title);
    if (action) QObject::connect(item, &QAction::triggered, &menu, action);
}

}  // namespace

std::unique_ptr<QMenu> buildGeneralMenu(const CanvasMenuActions& actions, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(QStringLiteral("Witeboard General Context Menu"), parent);
    addItem(*menu, QStringLiteral("Paste Text From Clipboard"), actions.pasteText);
    menu->addSeparator();
    addItem(*menu, QStringLiteral("Remove All Markup"), actions.removeAllMarkup);
    addItem(*menu, QStringLiteral("Remove The Whiteboard"), actions.removeWhiteboard);
    return menu;
}

std::unique_ptr<QMenu> buildObjectMenu(const TPaintObject& object, const QString& creatorName,
                                       const CanvasMenuActions& actions, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(QStringLiteral("Witeboard Object Contextual Menu"), parent);
    QAction* title = menu->addAction(QStringLiteral("Object Id %1 by %2").arg(object.FObjectID).arg(creatorName));
    title->setEnabled(false);
    menu->addSeparator();
    if (object.FTyp == kText) addItem(*menu, QStringLiteral("Edit Text"), actions.editText);
    addItem(*menu, QStringLiteral("Delete This Object"), actions.deleteObject);
    addItem(*menu, QStringLiteral("Bring to Front"), actions.bringToFront);
    addItem(*menu, QStringLiteral("Send to Back"), actions.sendToBack);
    addItem(*menu, QStringLiteral("Paste Text From Clipboard"), actions.pasteText);
    return menu;
}

}  // namespace veltrin::wb
