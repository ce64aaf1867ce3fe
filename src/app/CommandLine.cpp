#include "app/CommandLine.h"

#include <QProcessEnvironment>

namespace veltrin {

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    result.screenshotPath = QProcessEnvironment::systemEnvironment().value(QStringLiteral("VELTRIN_SCREENSHOT"));
    QStringList positional;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == QLatin1String("-")) {
            positional << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--screenshot")) {
            if (i + 1 >= arguments.size()) {
                result.error = QStringLiteral("--screenshot needs a file name");
                return result;
            }
            result.screenshotPath = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--screenshot="))) {
            result.screenshotPath = argument.mid(static_cast<qsizetype>(sizeof "--screenshot=") - 1);
        } else {
            result.error = QStringLiteral("unknown option %1").arg(argument);
            return result;
        }
    }
    if (positional.size() > 1) {
        result.error = QStringLiteral("give at most one link or recording");
        return result;
    }
    if (!positional.isEmpty()) result.launchArgument = positional.front();
    return result;
}

QString commandLineUsage() {
    return QStringLiteral(
        "Usage: veltrin [--screenshot FILE.png] [LINK | RECORDING.vc8]\n"
        "  LINK           vcc8join://..., vc8http://... or vc8https://...\n"
        "  --screenshot   save a picture of the window once it is shown, then quit\n");
}

}  // namespace veltrin
