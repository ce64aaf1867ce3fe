#include "whiteboard/boards/BoardFiles.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include "app/core/VeltrinTools.h"
#include "wire/Log.h"

namespace veltrin::wb {

namespace {

std::optional<int> indexOfFileName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^wb-(-?\\d+)\\.wbf$"));
    const QRegularExpressionMatch m = pattern.match(name);
    if (!m.hasMatch()) return std::nullopt;
    bool ok = false;
    const int index = m.captured(1).toInt(&ok);
    return ok ? std::optional<int>(index) : std::nullopt;
}

}  // namespace

BoardFiles::BoardFiles() : folder_(VeltrinTools::getVeltrinTempDir()) {}

QString BoardFiles::fileName(std::int32_t index) { return QStringLiteral("wb-%1.wbf").arg(index); }

QString BoardFiles::pathFor(std::int32_t index) const { return QDir(folder_).filePath(fileName(index)); }

bool BoardFiles::exists(std::int32_t index) const { return QFileInfo::exists(pathFor(index)); }

bool BoardFiles::store(const BoardState& board, const PaintObjectList& objects) const {
    const QString path = pathFor(board.Index);
    const Bytes bytes = BoardSnapshot::fileBytes(board, objects);
    // A board is replaced whole or not at all: a reader never sees half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        logf("failed create wb file: %s", path.toUtf8().constData());
        return false;
    }
    return true;
}

std::optional<BoardReadResult> BoardFiles::loadFile(const QString& path, BoardState& board, PaintObjectList& objects) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) return std::nullopt;
    const QByteArray data = file.readAll();
    MemoryInputStream in(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                                       static_cast<std::size_t>(data.size())));
    return BoardSnapshot::readFromStream(in, false, board, objects);
}

std::optional<BoardReadResult> BoardFiles::load(std::int32_t index, BoardState& board, PaintObjectList& objects) const {
    return loadFile(pathFor(index), board, objects);
}

QStringList BoardFiles::listFiles() const {
    const QDir dir(folder_);
    QStringList names = dir.entryList({QStringLiteral("*.wbf")}, QDir::Files);
    std::vector<std::pair<int, QString>> boards;
    for (const QString& name : names) {
        if (const auto index = indexOfFileName(name)) boards.emplace_back(*index, dir.filePath(name));
    }
    std::sort(boards.begin(), boards.end());
    QStringList paths;
    for (const auto& b : boards) paths << b.second;
    return paths;
}

void BoardFiles::removeAll() const {
    for (const QString& path : listFiles()) QFile::remove(path);
}

}  // namespace veltrin::wb
