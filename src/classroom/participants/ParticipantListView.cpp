#include "ParticipantListView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "classroom/participants/ParticipantIcons.h"
#include "classroom/participants/ParticipantListModel.h"

namespace veltrin {

namespace {

constexpr int kPortrait = 32;
constexpr int kIcon = 16;
constexpr int kIconGap = 2;
constexpr int kMargin = 2;
constexpr int kTextLeft = kMargin + kPortrait + 6;

}  // namespace

QRect ParticipantRowDelegate::portraitRect(const QRect& row) {
    return {row.left() + kMargin, row.top() + (row.height() - kPortrait) / 2, kPortrait, kPortrait};
}

QRect ParticipantRowDelegate::iconRect(const QRect& row, int iconIndex, int iconCount) {
    const int fromRight = iconCount - 1 - iconIndex;
    const int right = row.right() - kMargin - fromRight * (kIcon + kIconGap);
    return {right - kIcon + 1, row.top() + (row.height() - kIcon) / 2, kIcon, kIcon};
}

RowHit ParticipantRowDelegate::hitAt(const QRect& row, const ParticipantRow& content, const QPoint& point) {
    if (portraitRect(row).contains(point)) return RowHit::Portrait;
    const int count = static_cast<int>(content.icons.size());
    for (int i = 0; i < count; ++i) {
        if (!iconRect(row, i, count).contains(point)) continue;
        const std::string& icon = content.icons[static_cast<std::size_t>(i)];
        if (icon == content.microphoneIcon) return RowHit::Microphone;
        if (icon == content.webcamIcon) return RowHit::Webcam;
        return RowHit::Other;
    }
    return RowHit::Other;
}

QSize ParticipantRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
}

void ParticipantRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    painter->save();
    if (option.state & QStyle::State_Selected) painter->fillRect(option.rect, option.palette.highlight());
    const QRect row = option.rect;

    const QRect portrait = portraitRect(row);
    painter->drawPixmap(portrait, index.data(Qt::DecorationRole).value<QPixmap>());
    const QString hand = index.data(ParticipantListModel::HandNumberRole).toString();
    if (!hand.isEmpty()) {
        QFont small = painter->font();
        small.setPointSize(9);
        small.setBold(true);
        painter->setFont(small);
        painter->setPen(Qt::black);
        painter->drawText(portrait.adjusted(0, 0, -1, 0), Qt::AlignRight | Qt::AlignBottom, hand);
    }

    const QStringList icons = index.data(ParticipantListModel::IconNamesRole).toStringList();
    for (int i = 0; i < icons.size(); ++i)
        painter->drawPixmap(iconRect(row, i, static_cast<int>(icons.size())), participantIcon(icons[i]));

    const int textRight = icons.isEmpty() ? row.right() - kMargin
                                          : iconRect(row, 0, static_cast<int>(icons.size())).left() - 4;
    const QRect text(row.left() + kTextLeft, row.top() + 1, std::max(0, textRight - row.left() - kTextLeft),
                     row.height() - 2);
    painter->setPen(index.data(ParticipantListModel::GrayRole).toBool() ? QColor(Qt::gray) : QColor(Qt::black));
    painter->setFont(index.data(Qt::FontRole).value<QFont>());
    const QString name =
        painter->fontMetrics().elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, text.width());
    const QString secondLine = index.data(ParticipantListModel::SecondLineRole).toString();
    // A name without a second line sits in the middle of its row, level with the portrait.
    painter->drawText(text, Qt::AlignLeft | (secondLine.trimmed().isEmpty() ? Qt::AlignVCenter : Qt::AlignTop), name);
    if (secondLine.trimmed().isEmpty()) {
        painter->restore();
        return;
    }
    QFont second = painter->font();
    second.setBold(false);
    second.setPointSize(9);
    painter->setFont(second);
    painter->setPen(QColor(Qt::darkGray));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignBottom,
                      painter->fontMetrics().elidedText(secondLine, Qt::ElideRight, text.width()));
    painter->restore();
}

ParticipantListView::ParticipantListView(ParticipantListModel& rows, ParticipantActions& actions, QWidget* parent)
    : QListView(parent), rows_(rows), actions_(actions) {
    setModel(&rows_);
    setItemDelegate(new ParticipantRowDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setAccessibleName(QStringLiteral("Participants"));
    // Every refresh rebuilds the rows; the keyboard's place follows its participant, not its row
    // number, so a status change elsewhere never moves or drops it.
    connect(&rows_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const QModelIndex current = currentIndex();
        currentUid_ = current.isValid() ? current.data(ParticipantListModel::UidRole).toInt() : -1;
    });
    connect(&rows_, &QAbstractItemModel::modelReset, this, [this] {
        const int row = currentUid_ >= 0 ? rows_.rowOfUid(currentUid_) : -1;
        if (row >= 0) selectionModel()->setCurrentIndex(rows_.index(row), QItemSelectionModel::ClearAndSelect);
    });
}

QMenu* ParticipantListView::buildMenu(int uid, QWidget* parent) {
    const ParticipantMenuContext context = contextOf_ ? contextOf_() : ParticipantMenuContext{};
    const std::vector<ParticipantMenuItem> items = actions_.menuItemsFor(uid, context);
    if (items.empty()) return nullptr;
    auto* menu = new QMenu(QStringLiteral("User Item Contextual Menu"), parent);
    for (const ParticipantMenuItem& item : items) {
        if (item.separatorBefore) menu->addSeparator();
        QAction* action = menu->addAction(QString::fromStdString(item.title));
        const ParticipantMenuAction what = item.action;
        // The context is asked again on trigger: the room may have changed while the menu was open.
        connect(action, &QAction::triggered, this, [this, what, uid] {
            actions_.trigger(what, uid, contextOf_ ? contextOf_() : ParticipantMenuContext{});
        });
    }
    return menu;
}

void ParticipantListView::popupMenu(int uid, const QPoint& globalPos) {
    QMenu* menu = buildMenu(uid, this);
    if (menu == nullptr) return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

bool ParticipantListView::openMenuForCurrentRow() {
    const QModelIndex index = currentIndex();
    const ParticipantRow* row = index.isValid() ? rows_.rowAt(index.row()) : nullptr;
    if (row == nullptr) return false;
    QMenu* menu = buildMenu(row->uid, this);
    if (menu == nullptr) return false;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(viewport()->mapToGlobal(visualRect(index).bottomLeft()));
    return true;
}

void ParticipantListView::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    const ParticipantRow* row = index.isValid() ? rows_.rowAt(index.row()) : nullptr;
    if (row == nullptr || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)) return;
    const int uid = row->uid;
    const RowHit hit = ParticipantRowDelegate::hitAt(visualRect(index), *row, pos);
    // The actions may reload the rows; only the uid is used from here on.
    if (actions_.clickOnRow(uid, hit, event->button() == Qt::RightButton))
        popupMenu(uid, viewport()->mapToGlobal(pos));
}

void ParticipantListView::contextMenuEvent(QContextMenuEvent* event) {
    // Mouse clicks were handled on press; only the keyboard asks here.
    if (event->reason() == QContextMenuEvent::Keyboard) openMenuForCurrentRow();
    event->accept();
}

void ParticipantListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        openMenuForCurrentRow();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

}  // namespace veltrin
