#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace veltrin::testing {

// The real client binary in an unattended run: offscreen, its boxes written to the log (answered
// with the first button), its log on stderr, and a home of its own so that settings and the
// single-instance socket never meet the user's or another test's.
class ClientProcess {
public:
    ClientProcess();
    ~ClientProcess();
    ClientProcess(const ClientProcess&) = delete;
    ClientProcess& operator=(const ClientProcess&) = delete;

    // Settings written before the start, as "key=value" lines of the preferences file.
    void setSettings(const QStringList& lines);
    // An extra environment variable for the next start.
    void setEnvironment(const QString& name, const QString& value) { extraEnvironment_.insert(name, value); }
    bool start(const QStringList& arguments);
    void stop();

    // The log so far.
    QString log();
    bool logContains(const QString& text) { return log().contains(text); }
    int count(const QString& text) { return log().count(text); }
    bool hasExited() const { return process_.state() == QProcess::NotRunning; }
    int exitCode() const { return process_.exitCode(); }

private:
    QTemporaryDir home_;
    QProcess process_;
    QByteArray output_;
    QProcessEnvironment extraEnvironment_;
};

QString clientExecutable();

}  // namespace veltrin::testing
