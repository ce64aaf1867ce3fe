#include "ParticipantListPanel.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "classroom/participants/ParticipantIcons.h"
#include "classroom/participants/ParticipantListView.h"
#include "classroom/participants/ParticipantModel.h"

namespace veltrin {

namespace {

struct SortItem {
    SortOrder order;
    const char* title;
};

constexpr SortItem kSortItems[] = {
    {SortOrder::Unsorted, "Unsorted"},
    {SortOrder::Alphabetical, "Alphabetical Order"},
    {SortOrder::ModeratorsOnTop, "Moderators on Top"},
    {SortOrder::SpeakersOnTop, "Speakers on Top"},
    {SortOrder::RaisedHandsOnTop, "Raised Hands on Top"},
};

}  // namespace

ParticipantListPanel::ParticipantListPanel(ParticipantModel& model, ParticipantListView* list, QWidget* parent)
    : QWidget(parent),
      model_(model),
      list_(list),
      caption_(new QLabel(this)),
      sort_(new QToolButton(this)),
      sortMenu_(new QMenu(QStringLiteral("Attendees Sorting Option"), this)) {
    list_->setParent(this);
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    caption_->setObjectName(QStringLiteral("attendeesCaption"));

    auto* group = new QActionGroup(sortMenu_);
    group->setExclusive(true);
    for (const SortItem& item : kSortItems) {
        QAction* action = sortMenu_->addAction(QString::fromLatin1(item.title));
        action->setCheckable(true);
        action->setData(static_cast<int>(item.order));
        group->addAction(action);
        const SortOrder order = item.order;
        connect(action, &QAction::triggered, this, [this, order] { model_.setSortOrder(order); });
    }
    connect(sortMenu_, &QMenu::aboutToShow, this, &ParticipantListPanel::checkCurrentOrder);

    sort_->setObjectName(QStringLiteral("attendeesSortButton"));
    sort_->setIcon(participantIcon(QString::fromLatin1(kSortButtonIcon)));
    sort_->setAccessibleName(QStringLiteral("Attendees Sorting Option"));
    sort_->setToolTip(QStringLiteral("Attendees Sorting Option"));
    sort_->setMenu(sortMenu_);
    sort_->setPopupMode(QToolButton::InstantPopup);
    sort_->setAutoRaise(true);
    sort_->setFocusPolicy(Qt::TabFocus);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(2, 0, 0, 0);
    header->addWidget(caption_, 1);
    header->addWidget(sort_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(header);
    layout->addWidget(list_, 1);
    setTabOrder(sort_, list_);
    refresh();
}

void ParticipantListPanel::refresh() {
    const QString text = QString::fromStdString(model_.caption());
    caption_->setText(text);
    caption_->setAccessibleName(text);
}

void ParticipantListPanel::checkCurrentOrder() {
    for (QAction* action : sortMenu_->actions())
        action->setChecked(action->data().toInt() == static_cast<int>(model_.sortOrder()));
}

}  // namespace veltrin
