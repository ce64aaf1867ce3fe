#pragma once

#include <QString>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QToolButton;

namespace veltrin {

class ChatLogModel;
class TextChat;

// The text chat of the side panel: its caption, the log, the private-receiver selector and the
// input with its send button. It shows the TextChat's state and forwards the user's actions to it;
// the owner calls reloadLog / scrollToEnd / updateControls when the TextChat reports changes. The
// TextChat must outlive the view (the list reads its log in place).
//
// Keyboard: Tab reaches the input and leaves it again, Return sends, Escape in the input returns
// focus to the log.
class TextChatView final : public QWidget {
    Q_OBJECT

public:
    TextChatView(TextChat& chat, QWidget* parent = nullptr);
    ~TextChatView() override;

    void reloadLog();
    void scrollToEnd();
    // Caption, its colour and whether the input and send button take input.
    void updateControls();
    // The participants private messages can go to, as uid and name.
    void setReceivers(const std::vector<std::pair<int, QString>>& receivers);

    // The options menu as the TextChat describes it for the local user, wired to its actions.
    QMenu* createContextMenu(QWidget* parent);

    QListView* logView() const { return log_; }
    QLineEdit* input() const { return input_; }
    QPushButton* sendButton() const { return send_; }
    QComboBox* receiverSelector() const { return receivers_; }
    QLabel* caption() const { return caption_; }
    // The options button beside the caption opens the same menu; playback hides it.
    QToolButton* optionsButton() const { return options_; }
    void setOptionsVisible(bool visible);
    ChatLogModel* model() const { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sendInput();
    void receiverChosen(int index);

    TextChat& chat_;
    QLabel* caption_;
    QToolButton* options_;
    QListView* log_;
    ChatLogModel* model_;
    QComboBox* receivers_;
    QLineEdit* input_;
    QPushButton* send_;
};

// The modal sheet a private message or note is typed into; Return means OK. Nothing when cancelled.
std::optional<QString> askForMessageText(QWidget* parent, const QString& prompt);

}  // namespace veltrin
