#include "AutomatedUserInterface.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdlib>

#include "wire/Log.h"

namespace veltrin {

std::optional<int> AutomatedUserInterface::fromEnvironment() {
    const char* value = std::getenv("VELTRIN_AUTOMATION");
    if (value == nullptr) return std::nullopt;
    char* end = nullptr;
    const long answer = std::strtol(value, &end, 10);
    return end != value && answer >= 0 && answer < 3 ? static_cast<int>(answer) : 0;
}

int AutomatedUserInterface::showMessage(const QString& title, const QString& text, const QStringList& buttons,
                                        MessageStyle) {
    const int answer = buttons.isEmpty() ? 0 : std::min(answer_, static_cast<int>(buttons.size()) - 1);
    QString flat = text;
    flat.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    logf("automation: box \"%s\" \"%s\" -> %s", qPrintable(title), qPrintable(flat),
         buttons.isEmpty() ? "" : qPrintable(buttons.at(answer)));
    return answer;
}

std::optional<QString> AutomatedUserInterface::selectFileToSave(const QStringList&) {
    logLine("automation: save panel cancelled");
    return std::nullopt;
}

void AutomatedUserInterface::openUrl(const QUrl& url) {
    logf("automation: open %s", qPrintable(url.toString()));
}

void AutomatedUserInterface::quit() {
    logLine("automation: quit");
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::quit(); });
}

}  // namespace veltrin
