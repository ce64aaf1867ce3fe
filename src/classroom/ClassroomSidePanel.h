#pragma once

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>

#include "classroom/chat/TextChat.h"
#include "classroom/participants/ParticipantActions.h"
#include "classroom/participants/ParticipantModel.h"

namespace veltrin {

class ClassroomView;
class ParticipantListModel;
class NotesPanel;
class ParticipantListPanel;
class ParticipantListView;
class SoundPlayer;
class TextChatView;
class UserInterface;

// What the side panel needs from the classroom controller.
class SidePanelHost {
public:
    virtual ~SidePanelHost() = default;
    // The main connection while it runs in a live session, else null.
    virtual OutgoingCommands* liveConnection() = 0;
    virtual void displayToast(const std::string& text, double seconds) = 0;
    virtual int localUid() const = 0;
    virtual int localUserType() const = 0;
    virtual void setLocalUserType(int userType) = 0;
    virtual bool isPlayback() const = 0;
    virtual bool showsDisconnectionNotification() const = 0;
    virtual bool isMicActive() const = 0;
    virtual void updateMyControls() = 0;
};

// The side panel of the classroom: the participants with their list, menu and actions, and the
// text chat with its notes. It owns the models and their widgets (placed into the view's holders)
// and answers their hosts' questions from the controller.
class ClassroomSidePanel final : public QObject,
                                 private ParticipantModelHost,
                                 private ParticipantActionsUi,
                                 private TextChatSession,
                                 private TextChatDisplay {
    Q_OBJECT

public:
    ClassroomSidePanel(SidePanelHost& host, UserInterface& ui, ClassroomView& view);
    ~ClassroomSidePanel() override;

    ParticipantModel& participants() { return model_; }
    const ParticipantModel& participants() const { return model_; }
    ParticipantActions& actions() { return actions_; }
    TextChat& chat() { return chat_; }
    ParticipantListView* listView() const { return list_; }
    ParticipantListPanel* listPanel() const { return listPanel_; }
    TextChatView* chatView() const { return chatView_; }

    // Plays one of the named notice sounds ("sndEnter.aiff" …) from the sounds folder; a name
    // without a file is logged and skipped. The desktop's sound output is opened on first use.
    void playSound(const std::string& name);
    // Tests hear the sounds through a recorder instead.
    void setSoundPlayer(std::unique_ptr<SoundPlayer> player);

signals:
    // The participant list was refreshed from the model.
    void participantsRefreshed();
    // A line joined the chat log (the newest entry of chat().chatLog()).
    void chatLineAdded();

public:
    // The notes button: shows or hides the session-notes panel.
    void toggleNotes();

    // At every (re)join.
    void resetForJoin(int localUid, int localUserType, bool playback);

private:
    // ParticipantModelHost
    void participantListRefreshed() override;
    void updateMyControls() override { host_.updateMyControls(); }
    void displayToast(const std::string& text, double seconds) override { host_.displayToast(text, seconds); }
    void localUserTypeChanged(int userType) override { host_.setLocalUserType(userType); }
    bool isMicActive() const override { return host_.isMicActive(); }
    OutgoingCommands* connection() override { return host_.liveConnection(); }

    // ParticipantActionsUi
    void showMessage(const std::string& title, const std::string& text, const std::string& button) override;
    void openPrivateNote(int uid) override;
    void openPrivateText(int uid) override;
    void watchVideo(int uid) override;
    std::optional<std::string> askKickReason(const std::string& prompt) override;

    // TextChatSession
    OutgoingCommands* outgoing() override { return host_.liveConnection(); }
    int localUid() const override { return host_.localUid(); }
    int localUserType() const override { return host_.localUserType(); }
    bool isPlayback() const override { return host_.isPlayback(); }
    std::optional<std::string> fullNameOf(int uid) const override;
    bool showsDisconnectionNotification() const override { return host_.showsDisconnectionNotification(); }

    // TextChatDisplay
    void chatLogChanged() override;
    void scrollChatToEnd() override;
    void chatLineArrived() override;
    void notesLogChanged() override;
    void blinkNotesButton() override;
    void chatControlsChanged() override;
    void showToast(const QString& text, double seconds) override;
    std::optional<QString> askForText(const QString& prompt) override;

    SidePanelHost& host_;
    UserInterface& ui_;
    ClassroomView& view_;
    ParticipantModel model_;
    ParticipantActions actions_;
    TextChat chat_;
    std::unique_ptr<ParticipantListModel> rows_;
    ParticipantListView* list_ = nullptr;
    ParticipantListPanel* listPanel_ = nullptr;
    TextChatView* chatView_ = nullptr;
    // Parented to the main window, which may go first at shutdown.
    QPointer<NotesPanel> notes_;
    std::unique_ptr<SoundPlayer> sounds_;
};

}  // namespace veltrin
