#include "classroom/chat/NotesPanel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "classroom/chat/ChatLogModel.h"
#include "classroom/chat/TextChat.h"

namespace veltrin {

namespace {
// Notes rows leave room for their remove control.
constexpr int kNotesRowWidthReduction = 40;
constexpr int kNotesRowExtraHeight = 25;
}  // namespace

NotesPanel::NotesPanel(TextChat& chat, QWidget* window)
    : QWidget(window, Qt::Tool),
      chat_(chat),
      list_(new QListView(this)),
      model_(new ChatLogModel(chat.notesLog(), [&chat] { return chat.fontSize(); }, this)),
      newNote_(new QPushButton(QStringLiteral("New Note"), this)),
      remove_(new QPushButton(QStringLiteral("Remove"), this)),
      access_(new QPushButton(this)) {
    setWindowTitle(QStringLiteral("Session Notes"));
    list_->setModel(model_);
    list_->setItemDelegate(new ChatRowDelegate(kNotesRowWidthReduction, kNotesRowExtraHeight, list_));
    list_->setWordWrap(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setAccessibleName(QStringLiteral("Session Notes"));
    list_->installEventFilter(this);

    connect(newNote_, &QPushButton::clicked, this, [this] { chat_.acNewSessionNote(); });
    connect(remove_, &QPushButton::clicked, this, &NotesPanel::removeSelected);
    connect(access_, &QPushButton::clicked, this, [this] { chat_.acSetSessionNotesAccess(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newNote_);
    buttons->addWidget(remove_);
    buttons->addStretch(1);
    buttons->addWidget(access_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(360, 420);
    updateControls(true);
}

void NotesPanel::toggle() {
    if (isVisible()) {
        hide();
        return;
    }
    if (QWidget* window = parentWidget() != nullptr ? parentWidget()->window() : nullptr) {
        move(window->geometry().center() - rect().center());
    }
    reload();
    show();
}

void NotesPanel::reload() {
    model_->reload();
    list_->scrollToBottom();
}

void NotesPanel::updateControls(bool showAccessButton) {
    newNote_->setEnabled(chat_.newNoteEnabled());
    access_->setText(chat_.notesAccessTitle());
    access_->setVisible(showAccessButton);
}

bool NotesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            removeSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void NotesPanel::removeSelected() {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid()) return;
    chat_.removeSessionNote(static_cast<std::size_t>(current.row()));
}

}  // namespace veltrin
