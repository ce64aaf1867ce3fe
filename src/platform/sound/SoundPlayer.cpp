#include "platform/sound/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QObject>

#include <cstring>

#include "wire/Log.h"

namespace veltrin {

namespace {

// Far above any notice sound; keeps a damaged or foreign file from being read whole.
constexpr qint64 kMaxSoundFileBytes = 16 * 1024 * 1024;

}  // namespace

SystemSoundPlayer::SystemSoundPlayer() : sinks_(std::make_unique<QObject>()) {}

SystemSoundPlayer::~SystemSoundPlayer() = default;

const SystemSoundPlayer::Loaded& SystemSoundPlayer::loaded(const QString& path) {
    const auto it = cache_.constFind(path);
    if (it != cache_.constEnd()) return *it;
    Loaded result;
    QFile file(path);
    if (QFileInfo(path).size() > kMaxSoundFileBytes || !file.open(QIODevice::ReadOnly)) {
        logf("sound file unreadable: %s", qPrintable(path));
    } else {
        QString error;
        const std::optional<PcmSound> sound = decodeAiff(file.readAll(), &error);
        if (!sound) {
            logf("sound file %s: %s", qPrintable(path), qPrintable(error));
        } else {
            result.ok = true;
            result.sampleRate = sound->sampleRate;
            result.channels = sound->channels;
            result.pcm.resize(static_cast<qsizetype>(sound->samples.size() * sizeof(std::int16_t)));
            std::memcpy(result.pcm.data(), sound->samples.data(), static_cast<std::size_t>(result.pcm.size()));
        }
    }
    return *cache_.insert(path, std::move(result));
}

std::optional<PcmSound> SystemSoundPlayer::load(const QString& path) {
    const Loaded& sound = loaded(path);
    if (!sound.ok) return std::nullopt;
    PcmSound pcm;
    pcm.sampleRate = sound.sampleRate;
    pcm.channels = sound.channels;
    pcm.samples.resize(static_cast<std::size_t>(sound.pcm.size()) / sizeof(std::int16_t));
    std::memcpy(pcm.samples.data(), sound.pcm.constData(), static_cast<std::size_t>(sound.pcm.size()));
    return pcm;
}

int SystemSoundPlayer::playingCount() const {
    return static_cast<int>(sinks_->findChildren<QAudioSink*>(Qt::FindDirectChildrenOnly).size());
}

void SystemSoundPlayer::play(const QString& path) {
    const Loaded& sound = loaded(path);
    if (!sound.ok || sound.pcm.isEmpty()) return;

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        if (!reportedNoDevice_) logLine("no sound output device; notice sounds are off");
        reportedNoDevice_ = true;
        return;
    }
    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channels);
    format.setSampleFormat(QAudioFormat::Int16);

    auto* sink = new QAudioSink(device, format, sinks_.get());
    auto* buffer = new QBuffer(sink);
    buffer->setData(sound.pcm);
    buffer->open(QIODevice::ReadOnly);
    QObject::connect(sink, &QAudioSink::stateChanged, sinks_.get(), [sink](QAudio::State state) {
        // Idle: every sample went out. Stopped: the device failed or went away.
        if (state == QAudio::IdleState) sink->stop();
        if (state == QAudio::IdleState || state == QAudio::StoppedState) sink->deleteLater();
    });
    sink->start(buffer);
    if (sink->error() != QAudio::NoError) {
        if (!reportedNoDevice_) logLine("sound output failed to start; notice sounds are off");
        reportedNoDevice_ = true;
        delete sink;
    }
}

}  // namespace veltrin
