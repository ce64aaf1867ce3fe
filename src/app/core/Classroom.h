#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "app/core/MenuRules.h"

class QWidget;

namespace veltrin {

class DefaultFlags;
class UserInterface;
struct SessionParameters;

enum class ClassroomMode { Live = 0, Playback = 1 };

// Connection status codes a classroom reports to its delegate.
namespace ClassroomStatus {
inline constexpr int ConnectFailed = -7;
inline constexpr int Outdated = -6;
inline constexpr int ServerEnded = -5;
inline constexpr int UserLeft = -4;
inline constexpr int TokenRefused = -3;
inline constexpr int ConnectionLost = -2;
inline constexpr int Failed = -1;
}  // namespace ClassroomStatus

// How a classroom reports back to whoever opened it (the application delegate). Called on the main
// thread only.
class ClassroomDelegate {
public:
    virtual ~ClassroomDelegate() = default;
    // The session ended or could not start (ClassroomStatus codes).
    virtual void classroomConnectionStatus(int status) = 0;
    // The classroom's view should leave the window (remove == true) - the tear-down asks for it.
    virtual void classroomRemoveView(bool remove) = 0;
};

// The one open classroom as the application delegate drives it. The delegate owns it; the
// classroom owns its view and must outlive its presence in the window (the delegate takes the view
// out of the window before it drops the classroom).
class Classroom {
public:
    virtual ~Classroom() = default;

    virtual ClassroomMode mode() const = 0;
    // The classroom's content; the window shows it filling its content area but does not own it.
    virtual QWidget* view() = 0;
    virtual void removeAllTempFiles() = 0;

    // Starts the connect sequence of a live session (the session parameters as they are now).
    virtual void Connect() = 0;
    // Plays the recording at the PlaybackURL session parameter.
    virtual void Playback() = 0;
    // Plays a local recording file.
    virtual void PlaybackFile(const QString& path) = 0;
    // Shuts every connection and asks the delegate to remove the view.
    virtual void DisconnectAndHide() = 0;

    // The inputs of the menu rules (classroomExists is filled in by the caller).
    virtual MenuContext menuContext() const = 0;
    // Runs a classroom menu item by its tag (MenuTag): whiteboard, actions, share, text messages,
    // export, audio and video items. Called only for enabled items.
    virtual void performMenuCommand(int tag) = 0;
    // A connection speed chosen in the menu. Answers false when there is no main connection, in
    // which case the caller stores the value in the settings itself.
    virtual bool setConnectionSpeed(int bytesPerSecond) = 0;
};

// Everything a new classroom is given. The references outlive the classroom.
struct ClassroomContext {
    ClassroomMode mode;
    SessionParameters& session;
    DefaultFlags& settings;
    UserInterface& ui;
    ClassroomDelegate& delegate;
};

using ClassroomFactory = std::function<std::unique_ptr<Classroom>(const ClassroomContext&)>;

}  // namespace veltrin
