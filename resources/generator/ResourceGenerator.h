#pragma once

// The build-time generator of the client's resource files. Each family of files (participant
// icons, sounds, cursors, clip-art, …) lives in one source file of this folder and registers
// itself with a static VELTRIN_RESOURCE_FAMILY; main() runs every family into the output folder.

#include <QDir>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace veltrin::resgen {

// Where one family writes. Files land in <output>/<subdir>/<name>; subdirectories are created on
// demand. Every write failure is remembered and makes the generator exit non-zero.
class ResourceWriter {
public:
    explicit ResourceWriter(QDir root) : root_(std::move(root)) {}

    // Answers the full path of <subdir>/<name>, creating the subdirectory.
    QString pathFor(const QString& subdir, const QString& name);
    void writeImage(const QString& subdir, const QString& name, const QImage& image);
    void writeBytes(const QString& subdir, const QString& name, const QByteArray& bytes);
    void fail(const QString& what);
    bool failed() const { return failed_; }
    int filesWritten() const { return filesWritten_; }

private:
    QDir root_;
    bool failed_ = false;
    int filesWritten_ = 0;
};

struct Family {
    const char* name;
    std::function<void(ResourceWriter&)> generate;
};

std::vector<Family>& families();

struct FamilyRegistration {
    FamilyRegistration(const char* name, std::function<void(ResourceWriter&)> generate) {
        families().push_back({name, std::move(generate)});
    }
};

}  // namespace veltrin::resgen

#define VELTRIN_RESOURCE_FAMILY_CONCAT2(a, b) a##b
#define VELTRIN_RESOURCE_FAMILY_CONCAT(a, b) VELTRIN_RESOURCE_FAMILY_CONCAT2(a, b)
// Registers `function` (void(ResourceWriter&)) under `name`.
#define VELTRIN_RESOURCE_FAMILY(name, function)                                          \
    static const ::veltrin::resgen::FamilyRegistration VELTRIN_RESOURCE_FAMILY_CONCAT( \
        veltrinResourceFamily_, __LINE__)(name, function)
