#include "ClassroomSidePanel.h"

#include <QInputDialog>
#include <QLayout>

#include "app/core/Resources.h"
#include "app/core/UserInterface.h"
#include "classroom/ClassroomView.h"
#include "classroom/chat/NotesPanel.h"
#include "classroom/chat/TextChatView.h"
#include "classroom/participants/ParticipantListModel.h"
#include "classroom/participants/ParticipantListPanel.h"
#include "classroom/participants/ParticipantListView.h"
#include "platform/sound/SoundPlayer.h"
#include "wire/Log.h"

namespace veltrin {

ClassroomSidePanel::ClassroomSidePanel(SidePanelHost& host, UserInterface& ui, ClassroomView& view)
    : host_(host),
      ui_(ui),
      view_(view),
      model_(static_cast<ParticipantModelHost&>(*this)),
      actions_(model_, static_cast<ParticipantModelHost&>(*this), static_cast<ParticipantActionsUi&>(*this)),
      chat_(static_cast<TextChatSession&>(*this), static_cast<TextChatDisplay&>(*this), ui),
      rows_(std::make_unique<ParticipantListModel>(model_)) {
    list_ = new ParticipantListView(*rows_, actions_);
    listPanel_ = new ParticipantListPanel(model_, list_, view.participantsHolder());
    view.participantsHolder()->layout()->addWidget(listPanel_);
    chatView_ = new TextChatView(chat_, view.chatHolder());
    view.chatHolder()->layout()->addWidget(chatView_);
}

ClassroomSidePanel::~ClassroomSidePanel() { delete notes_.data(); }

void ClassroomSidePanel::resetForJoin(int localUid, int localUserType, bool playback) {
    model_.reset();
    model_.setLocalUser(localUid, localUserType);
    model_.setPlayback(playback);
    chat_.resetForJoin();
    chatView_->setOptionsVisible(!playback);
    rows_->reload();
    listPanel_->refresh();
}

void ClassroomSidePanel::playSound(const std::string& name) {
    const QString path = resourcePath(ResourceFolder::Sounds, QString::fromStdString(name));
    if (path.isEmpty()) {
        logf("sound missing: %s", name.c_str());
        return;
    }
    if (!sounds_) sounds_ = std::make_unique<SystemSoundPlayer>();
    sounds_->play(path);
}

void ClassroomSidePanel::setSoundPlayer(std::unique_ptr<SoundPlayer> player) { sounds_ = std::move(player); }

void ClassroomSidePanel::participantListRefreshed() {
    rows_->reload();
    listPanel_->refresh();
    view_.setCounters(model_.handsCount(), model_.positiveCount(), model_.negativeCount());
    std::vector<std::pair<int, QString>> receivers;
    for (const TUserItem& item : model_.users())
        if (item.UID != host_.localUid()) receivers.emplace_back(item.UID, QString::fromStdString(item.FullName));
    chatView_->setReceivers(receivers);
    emit participantsRefreshed();
}

void ClassroomSidePanel::showMessage(const std::string& title, const std::string& text, const std::string& button) {
    ui_.showMessage(QString::fromStdString(title), QString::fromStdString(text), {QString::fromStdString(button)},
                    MessageStyle::Informational);
}

void ClassroomSidePanel::openPrivateNote(int uid) { chat_.SendPrivateMsg(1, uid); }
void ClassroomSidePanel::openPrivateText(int uid) { chat_.SendPrivateMsg(0, uid); }
// Watching a participant's webcam arrives with video.
void ClassroomSidePanel::watchVideo(int) { host_.displayToast("Tool not allowed.", 1.5); }

std::optional<std::string> ClassroomSidePanel::askKickReason(const std::string& prompt) {
    QInputDialog dialog(view_.window());
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString());
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(49);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

std::optional<std::string> ClassroomSidePanel::fullNameOf(int uid) const {
    if (const TUserItem* item = model_.findUser(uid)) return item->FullName;
    return std::nullopt;
}

void ClassroomSidePanel::toggleNotes() {
    if (!notes_) notes_ = new NotesPanel(chat_, view_.window());
    notes_->updateControls(host_.localUserType() >= 1000);
    notes_->toggle();
}

void ClassroomSidePanel::notesLogChanged() {
    if (notes_) notes_->reload();
}

void ClassroomSidePanel::chatLogChanged() { chatView_->reloadLog(); }
void ClassroomSidePanel::scrollChatToEnd() { chatView_->scrollToEnd(); }
void ClassroomSidePanel::chatLineArrived() {
    if (view_.isFullScreenView()) view_.blinkControl(ClassroomControl::FullScreen);
    emit chatLineAdded();
}
void ClassroomSidePanel::blinkNotesButton() { view_.blinkControl(ClassroomControl::Notes); }
void ClassroomSidePanel::chatControlsChanged() {
    chatView_->updateControls();
    if (notes_) notes_->updateControls(host_.localUserType() >= 1000);
}
void ClassroomSidePanel::showToast(const QString& text, double seconds) {
    host_.displayToast(text.toStdString(), seconds);
}
std::optional<QString> ClassroomSidePanel::askForText(const QString& prompt) {
    return askForMessageText(view_.window(), prompt);
}

}  // namespace veltrin
