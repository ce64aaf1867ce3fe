#include "classroom/chat/ChatLogModel.h"

#include <QAbstractItemView>
#include <QColor>
#include <QFont>
#include <QFontMetrics>

#include "classroom/chat/TextChat.h"
#include "classroom/participants/ParticipantIcons.h"

namespace veltrin {

namespace {

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Sent messages end in "\r\n"; the export keeps it, the list has no use for it.
QString shownMessage(const TTextMessage& message) {
    QString text = fromUtf8(message.Text);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    return text;
}

bool isPrivate(const TTextMessage& message) {
    return message.MessageType == TextKind::Private || (message.MessageType == TextKind::Note && message.ToUID != 0);
}

}  // namespace

ChatLogModel::ChatLogModel(const std::deque<TTextMessage>& log, std::function<float()> fontSize, QObject* parent)
    : QAbstractListModel(parent), log_(log), fontSize_(std::move(fontSize)) {}

int ChatLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(log_.size());
}

QString ChatLogModel::rowText(const TTextMessage& message) {
    const QString name = fromUtf8(message.NameToUse);
    return name.isEmpty() ? shownMessage(message) : name + QStringLiteral(": ") + shownMessage(message);
}

QVariant ChatLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= log_.size()) return {};
    const TTextMessage& message = log_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return rowText(message);
    case Qt::AccessibleTextRole:
        // The marker is a picture; a screen reader says it in words.
        return isPrivate(message) ? QStringLiteral("(private) ") + rowText(message) : rowText(message);
    case Qt::DecorationRole:
        if (isPrivate(message)) return participantIcon(QString::fromLatin1(kPrivateMarkerIcon));
        return {};
    case Qt::ToolTipRole:
        return fromUtf8(message.TimeToShow);
    case Qt::FontRole: {
        QFont font;
        font.setPointSizeF(static_cast<double>(fontSize_()));
        return font;
    }
    case Qt::ForegroundRole:
        if (message.MessageType == TextKind::SystemError) return QColor(Qt::red);
        if (message.MessageType == TextKind::Notification) return QColor(Qt::gray);
        return QColor(Qt::black);
    case NameRole:
        return fromUtf8(message.NameToUse);
    case MessageRole:
        return shownMessage(message);
    case KindRole:
        return message.MessageType;
    case IsPrivateRole:
        return isPrivate(message);
    default:
        return {};
    }
}

void ChatLogModel::reload() {
    beginResetModel();
    endResetModel();
}

ChatRowDelegate::ChatRowDelegate(int widthReduction, int extraHeight, QObject* parent)
    : QStyledItemDelegate(parent), widthReduction_(widthReduction), extraHeight_(extraHeight) {}

QSize ChatRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const int column = view != nullptr ? view->viewport()->width() : 0;
    if (column <= 0) return {0, 34};
    // A private row's marker takes its width from the text.
    const int marker = index.data(ChatLogModel::IsPrivateRole).toBool() ? option.decorationSize.width() + 4 : 0;
    const int width = std::max(1, column - widthReduction_ - marker);
    const QFont font = index.data(Qt::FontRole).value<QFont>();
    const QRect bounds = QFontMetrics(font).boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap,
                                                         index.data(Qt::DisplayRole).toString());
    return {column, bounds.height() + extraHeight_};
}

}  // namespace veltrin
