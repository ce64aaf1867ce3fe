// The generated resource folder holds every picture the participant and chat rows name and every
// notice sound, readable by the client.

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QSet>

#include "app/core/Resources.h"
#include "classroom/participants/ParticipantIcons.h"
#include "classroom/participants/ParticipantRow.h"
#include "platform/sound/SoundPlayer.h"
#include "tests/classroom/participants/FakeParticipantHost.h"
#include "tests/support/ServerProcess.h"

namespace veltrin {
namespace {

using test::user;

// Every picture a row can show, found by describing participants in every state a row shows.
QSet<QString> namesTheRowsUse() {
    std::vector<TUserItem> people;
    for (int type : {0, 1000, 1001})
        for (int mike : {0, 2, 3, 4})
            for (int motion : {0, 1, 2, 4, 8, 16, 1003})
                for (int share : {0, 1, 2}) {
                    TUserItem u = user(5, "P", type, mike);
                    u.statusPack.MotionStatus = motion;
                    u.statusPack.AppShareStatus = share;
                    u.statusPack.Video_Status = share == 1 ? 4 : 2;
                    u.TypingStatus = motion == 2;
                    u.TickVisible = share == 2;
                    people.push_back(u);
                }
    QSet<QString> names;
    for (const TUserItem& u : people) {
        const ParticipantRow row = describeParticipantRow(u, 7, {});
        names.insert(QString::fromStdString(row.portrait));
        for (const std::string& icon : row.icons) names.insert(QString::fromStdString(icon));
    }
    return names;
}

TEST(ParticipantResources, EveryPictureTheRowsNameIsAGeneratedFile) {
    QSet<QString> names = namesTheRowsUse();
    // The rows name 15 pictures (portraits, motions, status icons); the chat and list add two.
    ASSERT_EQ(names.size(), 15);
    names.insert(QString::fromLatin1(kPrivateMarkerIcon));
    names.insert(QString::fromLatin1(kSortButtonIcon));
    for (const QString& name : names) {
        EXPECT_TRUE(participantIconNames().contains(name)) << name.toStdString();
        const QString path = resourcePath(ResourceFolder::Icons, name);
        ASSERT_FALSE(path.isEmpty()) << name.toStdString() << " missing under " << resourceRoot().toStdString();
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "png") << name.toStdString();
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_EQ(image.size(), drawParticipantIcon(name).size()) << name.toStdString();
        // What the client shows is the file.
        EXPECT_EQ(participantIcon(name).toImage().convertToFormat(QImage::Format_ARGB32),
                  image.convertToFormat(QImage::Format_ARGB32))
            << name.toStdString();
    }
}

TEST(ParticipantResources, EveryNoticeSoundIsAShortDistinctSound) {
    SystemSoundPlayer player;
    std::vector<std::vector<std::int16_t>> seen;
    for (const char* name : {"sndEnter.aiff", "sndExit.aiff", "sndMotion.aiff", "sndTextMessage.aiff", "sndPing.aiff"}) {
        const QString path = resourcePath(ResourceFolder::Sounds, QString::fromLatin1(name));
        ASSERT_FALSE(path.isEmpty()) << name;
        const std::optional<PcmSound> sound = player.load(path);
        ASSERT_TRUE(sound) << name;
        const double seconds = static_cast<double>(sound->frameCount()) / sound->sampleRate;
        EXPECT_GT(seconds, 0.05) << name;
        EXPECT_LT(seconds, 1.5) << name;
        int loudest = 0;
        for (std::int16_t s : sound->samples) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
        EXPECT_GT(loudest, 5000) << name << " is nearly silent";
        for (const auto& other : seen) EXPECT_NE(sound->samples, other) << name;
        seen.push_back(sound->samples);
    }
    EXPECT_FALSE(player.load(QStringLiteral("/nonexistent/sndEnter.aiff")));

    // Playing needs no device to be safe: without one nothing starts, with one every sink is gone
    // once its sound has ended.
    for (const char* name : {"sndEnter.aiff", "sndPing.aiff"})
        player.play(resourcePath(ResourceFolder::Sounds, QString::fromLatin1(name)));
    player.play(QStringLiteral("/nonexistent/sndEnter.aiff"));
    EXPECT_LE(player.playingCount(), 2);
    EXPECT_TRUE(testing::waitUntil([&] { return player.playingCount() == 0; }, std::chrono::seconds(5)));
}

}  // namespace
}  // namespace veltrin
