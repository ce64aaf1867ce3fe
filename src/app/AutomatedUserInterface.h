#pragma once

#include "app/core/UserInterface.h"

namespace veltrin {

// The user interface of an unattended run (VELTRIN_AUTOMATION set): every box is written to the
// log instead of being shown and is answered with the button whose index the variable gives (its
// first button when the value is not a number), addresses are logged instead of opened, and quit
// quits. End-to-end tests drive the real client this way and read what it would have shown.
class AutomatedUserInterface final : public UserInterface {
public:
    explicit AutomatedUserInterface(int answer) : answer_(answer) {}

    // The automation answer from the environment, or nothing when the run is attended.
    static std::optional<int> fromEnvironment();

    int showMessage(const QString& title, const QString& text, const QStringList& buttons,
                    MessageStyle style) override;
    std::optional<QString> selectFileToSave(const QStringList& fileTypes) override;
    void openUrl(const QUrl& url) override;
    void quit() override;

private:
    int answer_;
};

}  // namespace veltrin
