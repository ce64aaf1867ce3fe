#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>

#include "ResourceGenerator.h"

namespace veltrin::resgen {

std::vector<Family>& families() {
    static std::vector<Family> all;
    return all;
}

QString ResourceWriter::pathFor(const QString& subdir, const QString& name) {
    if (!root_.mkpath(subdir)) fail(QStringLiteral("cannot create ") + root_.filePath(subdir));
    return root_.filePath(subdir + QLatin1Char('/') + name);
}

void ResourceWriter::writeImage(const QString& subdir, const QString& name, const QImage& image) {
    const QString path = pathFor(subdir, name);
    // Through QSaveFile so an interrupted build never leaves half a picture behind.
    QSaveFile file(path);
    if (image.isNull() || !file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        fail(QStringLiteral("cannot write ") + path);
        return;
    }
    ++filesWritten_;
}

void ResourceWriter::writeBytes(const QString& subdir, const QString& name, const QByteArray& bytes) {
    const QString path = pathFor(subdir, name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        fail(QStringLiteral("cannot write ") + path);
        return;
    }
    ++filesWritten_;
}

void ResourceWriter::fail(const QString& what) {
    std::fprintf(stderr, "veltrin_resgen: %s\n", qPrintable(what));
    failed_ = true;
}

}  // namespace veltrin::resgen

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltrin_resgen OUTPUT_DIR\n");
        return 2;
    }
    QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "veltrin_resgen: cannot create %s\n", argv[1]);
        return 1;
    }
    veltrin::resgen::ResourceWriter writer(root);
    for (const auto& family : veltrin::resgen::families()) {
        const int before = writer.filesWritten();
        family.generate(writer);
        std::printf("veltrin_resgen: %s: %d files\n", family.name, writer.filesWritten() - before);
    }
    return writer.failed() ? 1 : 0;
}
