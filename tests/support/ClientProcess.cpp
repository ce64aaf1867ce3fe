#include "ClientProcess.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

namespace veltrin::testing {

QString clientExecutable() { return QStringLiteral(VELTRIN_CLIENT_PATH); }

ClientProcess::ClientProcess() { process_.setProcessChannelMode(QProcess::MergedChannels); }

ClientProcess::~ClientProcess() { stop(); }

void ClientProcess::setSettings(const QStringList& lines) {
    QDir(home_.path()).mkpath(QStringLiteral("config/Veltrin"));
    QFile file(home_.filePath(QStringLiteral("config/Veltrin/Veltrin.ini")));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write("[General]\n");
    for (const QString& line : lines) file.write((line + QLatin1Char('\n')).toUtf8());
}

bool ClientProcess::start(const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VELTRIN_AUTOMATION"), QStringLiteral("0"));
    env.insert(QStringLiteral("VELTRIN_LOG_STDERR"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), home_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
    QDir(home_.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home_.filePath(QStringLiteral("runtime")), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                          QFileDevice::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("TMPDIR"), home_.path());
    env.insert(extraEnvironment_);
    process_.setProcessEnvironment(env);
    process_.setProgram(clientExecutable());
    process_.setArguments(arguments);
    process_.start();
    return process_.waitForStarted(5000);
}

void ClientProcess::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

QString ClientProcess::log() {
    output_ += process_.readAll();
    return QString::fromUtf8(output_);
}

}  // namespace veltrin::testing
