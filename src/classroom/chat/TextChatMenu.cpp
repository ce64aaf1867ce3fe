#include "classroom/chat/TextChatMenu.h"

namespace veltrin {

std::vector<ChatMenuItem> textChatMenu(int localUserType) {
    using A = ChatMenuAction;
    std::vector<ChatMenuItem> menu{
        {QStringLiteral("Increase Font Size"), A::IncreaseFont, {}},
        {QStringLiteral("Decrease Font Size"), A::DecreaseFont, {}},
        {},
        {QStringLiteral("Freeze/Unfreeze Text Chat"), A::ToggleFreeze, {}},
    };
    if (localUserType >= 1000) {
        menu.push_back({});
        menu.push_back({QStringLiteral("Chat Permissions"), A::None,
                        {{QStringLiteral("Allow All Text Messages"), A::AllowAllMessages, {}},
                         {QStringLiteral("Disable All Text Messages"), A::DisableAllMessages, {}},
                         {QStringLiteral("Allow Only Public Messages"), A::AllowPublicOnly, {}}}});
        menu.push_back({QStringLiteral("Notes Permissions"), A::None,
                        {{QStringLiteral("Enable Notes"), A::EnableNotes, {}},
                         {QStringLiteral("Disable Notes"), A::DisableNotes, {}}}});
    }
    menu.push_back({});
    menu.push_back({QStringLiteral("Clear Text Messages"), A::ClearMessages, {}});
    menu.push_back({QStringLiteral("Export Text Messages"), A::ExportMessages, {}});
    return menu;
}

}  // namespace veltrin
