#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

#include "classroom/participants/ParticipantRow.h"

namespace veltrin {

class ParticipantModel;

// The participant list as rows for a Qt view. Qt::DisplayRole is the name, Qt::AccessibleTextRole
// the name with the status in words, Qt::DecorationRole the portrait (or motion picture); the rest
// of a row is in the roles below. It shows the ParticipantModel as of the last reload().
class ParticipantListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        UidRole = Qt::UserRole + 1,
        SecondLineRole,
        BoldRole,
        GrayRole,
        HandNumberRole,
        PortraitNameRole,
        IconNamesRole,  // QStringList, left to right
        MicrophoneIconRole,
        WebcamIconRole,
    };

    explicit ParticipantListModel(const ParticipantModel& model, QObject* parent = nullptr);

    // The recorder robot's e-mail identity, whose away status reads "Recorder is paused.".
    void setRecorderEmail(const std::string& email) { recorderEmail_ = email; }
    // Takes the model's current list (after every refresh of the participant list).
    void reload();

    const ParticipantRow* rowAt(int row) const;
    int rowOfUid(int uid) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const ParticipantModel& model_;
    std::string recorderEmail_;
    std::vector<ParticipantRow> rows_;
};

}  // namespace veltrin
