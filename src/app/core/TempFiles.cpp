#include <QDir>
#include <QRegularExpression>
#include <QTemporaryFile>

#include "app/core/VeltrinTools.h"
#include "wire/Log.h"

namespace veltrin::VeltrinTools {
namespace {

std::optional<QString> createTemporaryFile(const QString& extension) {
    // The extension becomes part of a file name: anything but a short plain word could leave the
    // folder or collide with the placeholder.
    static const QRegularExpression PlainExtension(QStringLiteral("^[A-Za-z0-9]{1,16}$"));
    if (PlainExtension.match(extension).hasMatch()) {
        QTemporaryFile file(QDir(getVeltrinTempDir()).filePath(QStringLiteral("file-XXXXXX.") + extension));
        file.setAutoRemove(false);
        if (file.open()) return file.fileName();
    }
    logLine("Error while creating tmp file");
    return std::nullopt;
}

}  // namespace

QString getVeltrinTempDir() {
    // Qt answers an empty path when TMPDIR names a missing folder; relative to the working folder
    // that would scatter (and later delete) files wherever the client was started.
    QString root = QDir::tempPath();
    if (root.isEmpty()) root = QStringLiteral("/tmp");
    const QString ours = QDir(root).filePath(QStringLiteral("veltrin"));
    return QDir().mkpath(ours) ? ours : root;
}

std::optional<QString> tmpFile(const QString& extension) {
    return createTemporaryFile(extension.isEmpty() ? QStringLiteral("tm8") : extension);
}

std::optional<QString> tmpFile() { return createTemporaryFile(QStringLiteral("caf")); }

}  // namespace veltrin::VeltrinTools
