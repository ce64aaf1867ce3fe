#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>

#include "platform/sound/AiffSound.h"

class QObject;

namespace veltrin {

// Plays short notice sounds (a participant joined, a message arrived …) without waiting for them.
// The classroom plays through this interface so tests can record what would have sounded.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the sound file at `path`; returns at once. A sound that cannot play is skipped.
    virtual void play(const QString& path) = 0;
};

// The sound output of the desktop through Qt Multimedia. The files are AIFF, which Qt's own
// effect player does not read and its media backends read only with extra plugins, so they are
// decoded here and streamed to an audio sink. Decoded sounds are kept, so a burst of joins reads
// each file once. Without a sound device nothing plays and this is logged once. Main thread only.
class SystemSoundPlayer final : public SoundPlayer {
public:
    SystemSoundPlayer();
    ~SystemSoundPlayer() override;

    void play(const QString& path) override;

    // The decoded sound of a file, or nothing when it cannot be read or decoded.
    std::optional<PcmSound> load(const QString& path);
    // Sounds started and not yet finished.
    int playingCount() const;

private:
    struct Loaded {
        bool ok = false;
        int sampleRate = 0;
        int channels = 0;
        QByteArray pcm;  // native-endian 16-bit samples
    };
    const Loaded& loaded(const QString& path);

    // Parent of the sinks that are playing; they delete themselves when done.
    std::unique_ptr<QObject> sinks_;
    QHash<QString, Loaded> cache_;
    bool reportedNoDevice_ = false;
};

}  // namespace veltrin
