#pragma once

#include <QPointer>
#include <QWidget>

#include "app/core/UserInterface.h"

namespace veltrin {

// The real user interface: modal dialogs over the main window and the desktop's browser.
class MessageBoxPresenter final : public UserInterface {
public:
    explicit MessageBoxPresenter(QWidget* parentWindow) : parent_(parentWindow) {}

    int showMessage(const QString& title, const QString& text, const QStringList& buttons,
                    MessageStyle style) override;
    std::optional<QString> selectFileToSave(const QStringList& fileTypes) override;
    void openUrl(const QUrl& url) override;
    void quit() override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace veltrin
