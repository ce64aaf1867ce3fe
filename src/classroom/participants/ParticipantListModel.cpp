#include "ParticipantListModel.h"

#include <QFont>
#include <QStringList>

#include "classroom/participants/ParticipantIcons.h"
#include "classroom/participants/ParticipantModel.h"

namespace veltrin {

namespace {
QString qs(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

ParticipantListModel::ParticipantListModel(const ParticipantModel& model, QObject* parent)
    : QAbstractListModel(parent), model_(model) {}

void ParticipantListModel::reload() {
    beginResetModel();
    rows_.clear();
    rows_.reserve(model_.users().size());
    for (const TUserItem& user : model_.users())
        rows_.push_back(describeParticipantRow(user, model_.localUid(), recorderEmail_));
    endResetModel();
}

const ParticipantRow* ParticipantListModel::rowAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return nullptr;
    return &rows_[static_cast<std::size_t>(row)];
}

int ParticipantListModel::rowOfUid(int uid) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].uid == uid) return static_cast<int>(i);
    return -1;
}

int ParticipantListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ParticipantListModel::data(const QModelIndex& index, int role) const {
    const ParticipantRow* row = index.isValid() ? rowAt(index.row()) : nullptr;
    if (row == nullptr) return {};
    switch (role) {
    case Qt::DisplayRole:
        return qs(row->name);
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return qs(row->accessibleText());
    case Qt::DecorationRole:
        return participantIcon(qs(row->portrait));
    case Qt::FontRole: {
        QFont font;
        font.setPointSize(12);
        font.setBold(row->bold);
        return font;
    }
    case UidRole:
        return row->uid;
    case SecondLineRole:
        return qs(row->secondLine);
    case BoldRole:
        return row->bold;
    case GrayRole:
        return row->gray;
    case HandNumberRole:
        return qs(row->handNumber);
    case PortraitNameRole:
        return qs(row->portrait);
    case IconNamesRole: {
        QStringList names;
        for (const std::string& icon : row->icons) names << qs(icon);
        return names;
    }
    case MicrophoneIconRole:
        return qs(row->microphoneIcon);
    case WebcamIconRole:
        return qs(row->webcamIcon);
    default:
        return {};
    }
}

}  // namespace veltrin
