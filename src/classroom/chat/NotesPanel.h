#pragma once

#include <QWidget>

class QListView;
class QPushButton;

namespace veltrin {

class ChatLogModel;
class TextChat;

// The session notes panel: a tool window over the classroom window listing the notes log, with
// buttons for a new note for the room, removing the selected note from the local log, and (for
// moderators) enabling or disabling notes for the room. Delete removes the selected note too. The
// TextChat must outlive the panel.
class NotesPanel final : public QWidget {
    Q_OBJECT

public:
    // `window` is the classroom window the panel attaches to.
    NotesPanel(TextChat& chat, QWidget* window);

    // The notes button: closes the panel when it shows, else centres it over the window, reloads
    // and shows it.
    void toggle();
    // The notes log changed: reload and show the newest note.
    void reload();
    // Notes status or the local user's role changed.
    void updateControls(bool showAccessButton);

    QListView* notesView() const { return list_; }
    QPushButton* newNoteButton() const { return newNote_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* accessButton() const { return access_; }
    ChatLogModel* model() const { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void removeSelected();

    TextChat& chat_;
    QListView* list_;
    ChatLogModel* model_;
    QPushButton* newNote_;
    QPushButton* remove_;
    QPushButton* access_;
};

}  // namespace veltrin
