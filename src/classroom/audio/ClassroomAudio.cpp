// The classroom controller as the audio feature's host: what the audio channel needs of the
// session and how its state shows on the Mic button.

#include <QIcon>
#include <QToolButton>

#include "app/core/Resources.h"
#include "classroom/ClassroomViewController.h"
#include "session/TSocketConnector.h"

namespace veltrin {

OutgoingCommands* ClassroomViewController::audioCommands() { return liveConnection(); }

bool ClassroomViewController::audioVoiceAllowed() const { return participants().voiceAllowed(); }

AudioConnectParameters ClassroomViewController::audioConnectParameters() const {
    AudioConnectParameters p;
    p.host = session_.Host.toStdString();
    p.port = session_.ConnectedPort;
    p.userName = session_.UserName.toStdString();
    p.password = session_.Password.toStdString();
    p.roomId = session_.RoomID;
    p.userId = clientRecord_.UID;
    p.codecId = roomHeader_.DefaultAudioCodecID;
    return p;
}

void ClassroomViewController::setMicButton(const char* image) {
    if (!view_) return;
    QToolButton* button = view_->button(ClassroomControl::Microphone);
    const QString path = resourcePath(ResourceFolder::Icons, QString::fromLatin1(image));
    button->setIcon(path.isEmpty() ? QIcon() : QIcon(path));
    button->setProperty("micImage", QString::fromLatin1(image));
}

void ClassroomViewController::setMicButtonEnabled(bool enabled) {
    if (view_ && mode_ == ClassroomMode::Live) view_->setControlEnabled(ClassroomControl::Microphone, enabled);
}

void ClassroomViewController::audioStateChanged(int audioState, bool microphoneUsable) {
    setAudioState(audioState);
    setMicCaptureRunning(microphoneUsable);
}

}  // namespace veltrin
