#pragma once

#include <QListView>
#include <QStyledItemDelegate>

#include <functional>

#include "classroom/participants/ParticipantActions.h"

class QMenu;

namespace veltrin {

class ParticipantListModel;
struct ParticipantRow;

// Paints a participant row (35 points high): portrait or motion picture with the hand number,
// name and second line, status icons on the right; and says which part of a row a point is on.
class ParticipantRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 35;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QRect portraitRect(const QRect& row);
    // The status icons laid out right-aligned, in the row's order.
    static QRect iconRect(const QRect& row, int iconIndex, int iconCount);
    static RowHit hitAt(const QRect& row, const ParticipantRow& content, const QPoint& point);
};

// The participant list: clicks on a row's icons and portrait follow the participant rules, any other
// click opens the participant menu at the click point; the menu key or Shift+F10 opens it on the
// selected row.
class ParticipantListView final : public QListView {
    Q_OBJECT

public:
    ParticipantListView(ParticipantListModel& rows, ParticipantActions& actions, QWidget* parent = nullptr);

    // The room state the menu depends on, asked for each time a menu opens.
    void setMenuContextProvider(std::function<ParticipantMenuContext()> provider) { contextOf_ = std::move(provider); }

    // The menu "User Item Contextual Menu" for a participant, owned by the caller; null when it would
    // be empty.
    QMenu* buildMenu(int uid, QWidget* parent);
    // Opens the menu of the selected row below it; false when no row is selected or it has no menu.
    bool openMenuForCurrentRow();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void popupMenu(int uid, const QPoint& globalPos);

    ParticipantListModel& rows_;
    ParticipantActions& actions_;
    std::function<ParticipantMenuContext()> contextOf_;
    int currentUid_ = -1;
};

}  // namespace veltrin
