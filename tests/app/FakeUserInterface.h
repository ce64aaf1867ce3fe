#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <vector>

#include "app/core/UserInterface.h"

namespace veltrin::testing {

// Records what the logic shows the user and answers with scripted choices.
class FakeUserInterface final : public UserInterface {
public:
    struct Message {
        QString title;
        QString text;
        QStringList buttons;
        MessageStyle style;
    };

    int showMessage(const QString& title, const QString& text, const QStringList& buttons,
                    MessageStyle style) override {
        messages.push_back({title, text, buttons, style});
        return nextButton;
    }
    std::optional<QString> selectFileToSave(const QStringList& fileTypes) override {
        saveRequests.push_back(fileTypes);
        return nextSavePath;
    }
    void openUrl(const QUrl& url) override { openedUrls.push_back(url); }
    void quit() override { ++quitCount; }

    std::vector<Message> messages;
    std::vector<QStringList> saveRequests;
    std::vector<QUrl> openedUrls;
    int quitCount = 0;
    int nextButton = 0;
    std::optional<QString> nextSavePath;
};

}  // namespace veltrin::testing
