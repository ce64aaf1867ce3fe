#pragma once

#include <QString>

#include <vector>

namespace veltrin {

// The items of the text chat options menu.
enum class ChatMenuAction {
    None,  // separators and submenu headings
    IncreaseFont,
    DecreaseFont,
    ToggleFreeze,
    AllowAllMessages,
    DisableAllMessages,
    AllowPublicOnly,
    EnableNotes,
    DisableNotes,
    ClearMessages,
    ExportMessages,
};

// One entry of the menu: a separator (empty title), an item, or a submenu with its own items.
struct ChatMenuItem {
    QString title;
    ChatMenuAction action = ChatMenuAction::None;
    std::vector<ChatMenuItem> submenu;

    bool isSeparator() const { return title.isEmpty(); }
    bool operator==(const ChatMenuItem&) const = default;
};

inline const QString kTextChatMenuTitle = QStringLiteral("Text Chat Contextual Menu");

// The menu as the local user sees it: the permission submenus only for moderators (type 1000 and
// above).
std::vector<ChatMenuItem> textChatMenu(int localUserType);

}  // namespace veltrin
