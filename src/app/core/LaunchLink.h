#pragma once

#include <QString>
#include <QStringList>

#include "app/core/SessionParameters.h"

namespace veltrin {

// What a launch argument asks for. launchMode values are those of the application delegate.
enum class LaunchKind {
    Ignored,        // a link of a scheme that is not ours
    Join,           // vcc8join: a live session (launchMode 0)
    Playback,       // vc8http / vc8https: a recording streamed over HTTP(S) (launchMode 1)
    RecordingFile,  // a local .vc8 file (launchMode 3)
    Invalid,        // one of our links that cannot be used; only the "Invalid URL" box may follow
};

struct LaunchLink {
    LaunchKind kind = LaunchKind::Ignored;
    int launchMode = 2;  // unchanged unless the link starts something

    // The fields the link fills: for Join everything from Host to Token, for Playback only
    // PlaybackURL. The others keep their defaults and are not copied by applyTo().
    SessionParameters session;
    QString recordingPath;  // absolute path, for RecordingFile
    QString error;          // why an Invalid link was refused; never contains the password

    // The diagnostics the handling of this link writes, in order. The password of a join link is
    // masked in them.
    QStringList logLines;

    // Copies the fields this link sets into the session; ConnectedPort and the rest stay as they are.
    void applyTo(SessionParameters& target) const;
};

// Reads a launch argument: a vcc8join / vc8http / vc8https link, a file: URL or a path of a .vc8
// recording. Pure: neither logs nor shows anything.
LaunchLink parseLaunchLink(const QString& argument);

// The text of the "Invalid URL" box.
QString invalidUrlMessage();

// The link with the password of a join link (and any user-info password) replaced by "****".
QString maskLaunchLinkForLog(const QString& link);

}  // namespace veltrin
