#pragma once

#include <QWidget>

class QLabel;
class QMenu;
class QToolButton;

namespace veltrin {

class ParticipantListView;
class ParticipantModel;

// The participant part of the side panel: the caption "Attendees [N]" with the sort button above
// the list. The sort button opens "Attendees Sorting Option" with the five orders (the current one
// checked); choosing one sorts the model at once.
class ParticipantListPanel final : public QWidget {
    Q_OBJECT

public:
    ParticipantListPanel(ParticipantModel& model, ParticipantListView* list, QWidget* parent = nullptr);

    // Caption from the model, after every refresh of the list.
    void refresh();

    QLabel* caption() const { return caption_; }
    QToolButton* sortButton() const { return sort_; }
    QMenu* sortMenu() const { return sortMenu_; }
    ParticipantListView* listView() const { return list_; }

private:
    void checkCurrentOrder();

    ParticipantModel& model_;
    ParticipantListView* list_;
    QLabel* caption_;
    QToolButton* sort_;
    QMenu* sortMenu_;
};

}  // namespace veltrin
