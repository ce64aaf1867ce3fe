#include "classroom/chat/TextChatView.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "classroom/chat/ChatLogModel.h"
#include "classroom/chat/TextChat.h"

namespace veltrin {

namespace {

constexpr int kChatRowExtraHeight = 14;

void addMenuItems(QMenu* menu, const std::vector<ChatMenuItem>& items, TextChat& chat) {
    for (const ChatMenuItem& item : items) {
        if (item.isSeparator()) {
            menu->addSeparator();
        } else if (!item.submenu.empty()) {
            addMenuItems(menu->addMenu(item.title), item.submenu, chat);
        } else {
            const ChatMenuAction action = item.action;
            menu->addAction(item.title, menu, [&chat, action] { chat.performMenuAction(action); });
        }
    }
}

}  // namespace

TextChatView::TextChatView(TextChat& chat, QWidget* parent)
    : QWidget(parent),
      chat_(chat),
      caption_(new QLabel(this)),
      options_(new QToolButton(this)),
      log_(new QListView(this)),
      model_(new ChatLogModel(chat.chatLog(), [&chat] { return chat.fontSize(); }, this)),
      receivers_(new QComboBox(this)),
      input_(new QLineEdit(this)),
      send_(new QPushButton(QStringLiteral("Send"), this)) {
    log_->setModel(model_);
    log_->setItemDelegate(new ChatRowDelegate(0, kChatRowExtraHeight, log_));
    log_->setWordWrap(true);
    log_->setSelectionMode(QAbstractItemView::SingleSelection);
    log_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    log_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    log_->setContextMenuPolicy(Qt::CustomContextMenu);
    log_->setAccessibleName(QStringLiteral("Text Messages"));
    connect(log_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = createContextMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(log_->viewport()->mapToGlobal(at));
    });

    receivers_->setAccessibleName(QStringLiteral("Private message to"));
    setReceivers({});
    connect(receivers_, &QComboBox::activated, this, &TextChatView::receiverChosen);

    input_->setAccessibleName(QStringLiteral("Text message"));
    input_->installEventFilter(this);
    connect(input_, &QLineEdit::textEdited, this, [this](const QString& text) { chat_.inputTextEdited(text); });
    connect(input_, &QLineEdit::returnPressed, this, &TextChatView::sendInput);
    connect(send_, &QPushButton::clicked, this, &TextChatView::sendInput);
    send_->setAutoDefault(false);

    // The menu is built each time it opens: its moderator items follow the local user's role.
    auto* optionsMenu = new QMenu(kTextChatMenuTitle, options_);
    connect(optionsMenu, &QMenu::aboutToShow, this, [this, optionsMenu] {
        optionsMenu->clear();
        addMenuItems(optionsMenu, chat_.contextMenu(), chat_);
    });
    options_->setText(QStringLiteral("Options"));
    options_->setAccessibleName(QStringLiteral("Text chat options"));
    options_->setToolTip(QStringLiteral("Text chat options"));
    options_->setMenu(optionsMenu);
    options_->setPopupMode(QToolButton::InstantPopup);
    options_->setAutoRaise(true);
    options_->setFocusPolicy(Qt::TabFocus);

    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(caption_, 1);
    captionRow->addWidget(options_);
    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(input_, 1);
    inputRow->addWidget(send_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(captionRow);
    layout->addWidget(log_, 1);
    layout->addWidget(receivers_);
    layout->addLayout(inputRow);
    setTabOrder(options_, log_);
    setTabOrder(log_, receivers_);
    setTabOrder(receivers_, input_);
    setTabOrder(input_, send_);

    updateControls();
}

TextChatView::~TextChatView() = default;

void TextChatView::reloadLog() { model_->reload(); }

void TextChatView::scrollToEnd() { log_->scrollToBottom(); }

void TextChatView::updateControls() {
    const TextChat::Caption caption = chat_.chatCaption();
    caption_->setText(caption.text);
    QPalette palette = caption_->palette();
    palette.setColor(QPalette::WindowText, caption.red ? QColor(Qt::red) : QColor(Qt::black));
    caption_->setPalette(palette);
    const bool enabled = chat_.chatInputEnabled();
    input_->setEnabled(enabled);
    send_->setEnabled(enabled);
    receivers_->setEnabled(enabled);
}

void TextChatView::setOptionsVisible(bool visible) { options_->setVisible(visible); }

void TextChatView::setReceivers(const std::vector<std::pair<int, QString>>& receivers) {
    receivers_->clear();
    receivers_->addItem(QStringLiteral("Private Message To..."), -1);
    for (const auto& [uid, name] : receivers) receivers_->addItem(name, uid);
    receivers_->setCurrentIndex(0);
}

QMenu* TextChatView::createContextMenu(QWidget* parent) {
    auto* menu = new QMenu(kTextChatMenuTitle, parent);
    addMenuItems(menu, chat_.contextMenu(), chat_);
    return menu;
}

bool TextChatView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == input_) {
        if (event->type() == QEvent::FocusOut) {
            chat_.inputEditingEnded();
        } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            log_->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TextChatView::sendInput() {
    if (chat_.acSendTextMessage(input_->text())) input_->clear();
}

void TextChatView::receiverChosen(int index) {
    const int uid = receivers_->itemData(index).toInt();
    receivers_->setCurrentIndex(0);
    if (uid >= 0 && index > 0) chat_.SendPrivateMsg(0, uid);
}

std::optional<QString> askForMessageText(QWidget* parent, const QString& prompt) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QString(), prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return text;
}

}  // namespace veltrin
