#pragma once

#include <cstdint>
#include <optional>

#include <QString>
#include <QStringList>

#include "whiteboard/PaintObjectList.h"
#include "whiteboard/boards/BoardSnapshot.h"
#include "whiteboard/boards/BoardState.h"

namespace veltrin::wb {

// The board files "wb-<index>.wbf" of a folder (the client's temporary folder in a session): one
// board stream without headers each, written when a board is left and read in playback and for
// the export of all boards.
class BoardFiles {
public:
    // A file above this size is not a board this client wrote.
    static constexpr qint64 kMaxFileBytes = 512LL << 20;

    // The client's temporary folder.
    BoardFiles();
    explicit BoardFiles(QString folder) : folder_(std::move(folder)) {}

    const QString& folder() const { return folder_; }
    static QString fileName(std::int32_t index);
    QString pathFor(std::int32_t index) const;
    bool exists(std::int32_t index) const;

    // Writes the board under its own Index, replacing the file whole. Logs and answers false when
    // the file cannot be created.
    bool store(const BoardState& board, const PaintObjectList& objects) const;
    // Reads board `index`'s file into the canvas; nothing when there is no readable file.
    std::optional<BoardReadResult> load(std::int32_t index, BoardState& board, PaintObjectList& objects) const;
    static std::optional<BoardReadResult> loadFile(const QString& path, BoardState& board, PaintObjectList& objects);

    // Every board file of the folder, ordered by board index (the folder listing itself has no
    // dependable order).
    QStringList listFiles() const;
    // Removes every board file (a new session starts without boards).
    void removeAll() const;

private:
    QString folder_;
};

}  // namespace veltrin::wb
