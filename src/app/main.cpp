#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <thread>
#include <utility>

#include "app/AppDelegate.h"
#include "app/AutomatedUserInterface.h"
#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "audio/PortAudioSystem.h"
#include "classroom/audio/AudioFeature.h"
#include "classroom/chat/TextChat.h"
#include "wire/Log.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"

namespace {

// Long enough for the window to be mapped and laid out under a bare X server.
constexpr int ScreenshotDelayMs = 1000;

int runScreenshot(QWidget& window, const QString& path) {
    QTimer::singleShot(ScreenshotDelayMs, &window, [&window, path] {
        const bool saved = window.grab().save(path, "PNG");
        if (!saved) std::fprintf(stderr, "veltrin: cannot write %s\n", qPrintable(path));
        QCoreApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}

// An unattended run reports what its classroom shows, so end-to-end tests can follow several
// clients: the participants after every change and each chat line. VELTRIN_AUTOMATION_SAY is
// sent as a public chat message once the participant list has arrived.
void observeForAutomation(veltrin::ClassroomViewController& classroom) {
    veltrin::ClassroomSidePanel& panel = classroom.sidePanel();
    auto lastNames = std::make_shared<QStringList>();
    auto toSay = std::make_shared<QString>(qEnvironmentVariable("VELTRIN_AUTOMATION_SAY"));
    QObject::connect(&panel, &veltrin::ClassroomSidePanel::participantsRefreshed, &panel,
                     [&classroom, &panel, lastNames, toSay] {
                         QStringList names;
                         for (const veltrin::TUserItem& user : panel.participants().users())
                             names << QString::fromStdString(user.FullName);
                         names.sort();
                         if (names != *lastNames) {
                             *lastNames = names;
                             veltrin::logf("automation: participants %s", qPrintable(names.join(QStringLiteral(", "))));
                         }
                         if (!toSay->isEmpty() && classroom.isJoined()) {
                             const QString text = std::exchange(*toSay, QString());
                             QTimer::singleShot(0, &panel, [&panel, text] { panel.chat().acSendTextMessage(text); });
                         }
                     });
    QObject::connect(&panel, &veltrin::ClassroomSidePanel::chatLineAdded, &panel, [&panel] {
        if (panel.chat().chatLog().empty()) return;
        const veltrin::TTextMessage& line = panel.chat().chatLog().back();
        const QString text = QString::fromStdString(line.Text).trimmed().replace(QLatin1Char('\n'), QLatin1String("\\n"));
        veltrin::logf("automation: chat %s: %s", line.NameToUse.c_str(), qPrintable(text));
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Veltrin"));
    QCoreApplication::setApplicationName(QStringLiteral("Veltrin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTRIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("veltrin"));

    const veltrin::CommandLine commandLine = veltrin::parseCommandLine(QCoreApplication::arguments());
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "veltrin: %s\n%s", qPrintable(commandLine.error),
                     qPrintable(veltrin::commandLineUsage()));
        return 2;
    }
    const bool screenshot = !commandLine.screenshotPath.isEmpty();

    // A screenshot run is self-contained: it neither hands over to nor serves another instance.
    veltrin::SingleInstance instance(veltrin::SingleInstance::defaultServerName());
    if (!screenshot) {
        if (veltrin::SingleInstance::sendToRunning(veltrin::SingleInstance::defaultServerName(),
                                                   commandLine.launchArgument))
            return 0;
        instance.listen();
    }

    veltrin::AppDelegate::Options options;
    options.classroomFactory = [](const veltrin::ClassroomContext& context) -> std::unique_ptr<veltrin::Classroom> {
        auto classroom = std::make_unique<veltrin::ClassroomViewController>(context);
        if (qEnvironmentVariableIsSet("VELTRIN_AUTOMATION")) observeForAutomation(*classroom);
        return classroom;
    };
    // PortAudio stays initialised from start to quit; devices come and go inside that. The first
    // initialisation enumerates every device, which can take seconds: it runs beside the event loop.
    std::unique_ptr<veltrin::audio::PortAudioSession> audioSession;
    std::thread audioStarter;
    options.startAudioDevices = [&audioSession, &audioStarter] {
        audioStarter = std::thread([&audioSession] { audioSession = std::make_unique<veltrin::audio::PortAudioSession>(); });
    };
    options.stopAudioDevices = [&audioSession, &audioStarter] {
        if (audioStarter.joinable()) audioStarter.join();
        audioSession.reset();
    };
    std::unique_ptr<veltrin::AutomatedUserInterface> automated;
    if (const auto answer = veltrin::AutomatedUserInterface::fromEnvironment()) {
        automated = std::make_unique<veltrin::AutomatedUserInterface>(*answer);
        options.ui = automated.get();
    }
    auto delegateOwner = std::make_unique<veltrin::AppDelegate>(std::move(options));
    veltrin::AppDelegate& delegate = *delegateOwner;
    QObject::connect(&instance, &veltrin::SingleInstance::argumentReceived, &delegate,
                     &veltrin::AppDelegate::receiveHandOver);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });

    delegate.applicationDidFinishLaunching();
    if (!commandLine.launchArgument.isEmpty()) {
        // Handled from the event loop, like a link the desktop delivers to a running instance.
        QTimer::singleShot(0, &delegate,
                           [&delegate, argument = commandLine.launchArgument] { delegate.handleLaunchArgument(argument); });
    }
    const int status = screenshot ? runScreenshot(delegate.mainWindow(), commandLine.screenshotPath)
                                  : QApplication::exec();
    // Close the classroom while the event loop can still serve its connection threads.
    delegateOwner.reset();
    veltrin::waitForRetiredLinks(5000);
    veltrin::waitForAudioThreads(5000);
    // Quitting before the delegate said goodbye (the screenshot run) still ends PortAudio.
    if (audioStarter.joinable()) audioStarter.join();
    audioSession.reset();
    return status;
}
