#pragma once

#include <QString>
#include <QStringList>

namespace veltrin {

// veltrin [--screenshot PATH] [link-or-recording]
struct CommandLine {
    QString launchArgument;  // a link, a file: URL or a path; empty when none was given
    QString screenshotPath;  // grab the window to this PNG once it is laid out, then quit
    QString error;           // a usage error; the rest is then meaningless
};

// Reads the arguments (argv[0] first). VELTRIN_SCREENSHOT in the environment stands in for
// --screenshot.
CommandLine parseCommandLine(const QStringList& arguments);

QString commandLineUsage();

}  // namespace veltrin
