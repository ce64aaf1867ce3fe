#pragma once

#include <QAbstractListModel>
#include <QStyledItemDelegate>

#include <deque>
#include <functional>

#include "wire/TextMessage.h"

namespace veltrin {

// One of the two logs as a Qt list. The rows are the log's entries; the display and accessible
// text is "name: message" (only the message for lines without a name), so screen readers read
// what the eye sees. The log lives in TextChat; call reload() after every change to it.
class ChatLogModel final : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        MessageRole,
        KindRole,
        IsPrivateRole,
    };

    ChatLogModel(const std::deque<TTextMessage>& log, std::function<float()> fontSize, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void reload();

    // The text of a row as shown and read out.
    static QString rowText(const TTextMessage& message);

private:
    const std::deque<TTextMessage>& log_;
    std::function<float()> fontSize_;
};

// Rows as tall as their message wrapped to the column (narrowed by `widthReduction`) plus
// `extraHeight`; 34 while there is no column to measure.
class ChatRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    ChatRowDelegate(int widthReduction, int extraHeight, QObject* parent);
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int widthReduction_;
    int extraHeight_;
};

}  // namespace veltrin
