#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace veltrin {

enum class MessageStyle { Informational, Warning, Critical };

// Everything the logic shows the user or asks of the desktop goes through here, so the rules can be
// tested without widgets: the main window implements it with real dialogs, tests with a recorder.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal box: `title` is its headline, `text` the explanation below it, `buttons` one to three
    // captions (the first is the default). Answers the index of the button the user chose.
    virtual int showMessage(const QString& title, const QString& text, const QStringList& buttons,
                            MessageStyle style) = 0;

    // A modal save panel limited to the given file extensions ("txt", "pdf"); nothing when cancelled.
    virtual std::optional<QString> selectFileToSave(const QStringList& fileTypes) = 0;

    // Opens an address in the user's web browser (or mail client for mailto:).
    virtual void openUrl(const QUrl& url) = 0;

    // Ends the application once control is back in the event loop.
    virtual void quit() = 0;
};

}  // namespace veltrin
