#include "app/core/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace veltrin {

QString resourceRoot() {
    const QString fromEnvironment = qEnvironmentVariable("VELTRIN_RESOURCES");
    if (!fromEnvironment.isEmpty()) return fromEnvironment;
    if (QCoreApplication::instance()) {
        const QString installed =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/veltrin/resources"));
        if (QFileInfo(installed).isDir()) return QDir::cleanPath(installed);
    }
    return QStringLiteral(VELTRIN_BUILD_RESOURCES_DIR);
}

QString resourcePath(const char* folder, const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.startsWith(QLatin1Char('.')))
        return {};
    const QString path = QDir(resourceRoot()).filePath(QLatin1String(folder) + QLatin1Char('/') + name);
    return QFileInfo(path).isFile() ? path : QString();
}

}  // namespace veltrin
