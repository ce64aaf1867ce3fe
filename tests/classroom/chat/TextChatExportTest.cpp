#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "classroom/chat/TextChatExport.h"
#include "tests/classroom/chat/ChatFakes.h"

namespace veltrin::testing {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(TextChatExport, TimeStampsUseATwelveHourClockWithoutMarker) {
    const QDate day(2024, 3, 5);
    EXPECT_EQ(textLogTimeStamp(QDateTime(day, QTime(0, 5))), QStringLiteral("2024/03/05 12:05"));
    EXPECT_EQ(textLogTimeStamp(QDateTime(day, QTime(9, 30))), QStringLiteral("2024/03/05 09:30"));
    EXPECT_EQ(textLogTimeStamp(QDateTime(day, QTime(12, 0))), QStringLiteral("2024/03/05 12:00"));
    EXPECT_EQ(textLogTimeStamp(QDateTime(day, QTime(23, 59))), QStringLiteral("2024/03/05 11:59"));
}

TEST(TextChatExport, BothLogsByteForByte) {
    ChatFixture f;
    f.session.names = {{3, "Ann"}, {4, "Bo Ö"}};
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "Hello\r\n"));
    f.chat.UpdateTextView(makeMessage(TextKind::Private, 4, 7, "just you\r\n"));
    f.chat.AddErrorMessage("Oops");
    f.chat.AddNotificationMessage("Ann joined the session.");
    f.chat.UpdateTextView(makeMessage(TextKind::Note, 3, 0, "room note"));
    f.chat.UpdateTextView(makeMessage(TextKind::Note, 7, 4, "mine"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(f.chat.SaveTextMessagesToFile(path));
    const QByteArray expected =
        "Veltrin Text Message Log \nExported 2024/03/05 01:07\n\n"
        "Ann:\nHello\r\n\n"
        "Bo \xC3\x96 (private):\njust you\r\n\n"
        "System Message:\nOops\n"
        ":\nAnn joined the session.\n"
        "\n\n==============================================\n"
        "Veltrin Session Notes Log \nExported 2024/03/05 01:07\n\n"
        "Ann:\nroom note\n"
        " (private):\nmine\n";
    EXPECT_EQ(readAll(path), expected);
    EXPECT_TRUE(f.ui.boxes.empty());
}

TEST(TextChatExport, EmptyLogsKeepBothHeadersAndTheSeparator) {
    EXPECT_EQ(formatTextMessageLog({}, {}, QDateTime(QDate(2023, 12, 31), QTime(18, 45))),
              QByteArray("Veltrin Text Message Log \nExported 2023/12/31 06:45\n\n\n\n") + QByteArray(46, '=') +
                  "\nVeltrin Session Notes Log \nExported 2023/12/31 06:45\n\n");
}

TEST(TextChatExport, WithoutAPathTheUserPicksATextFileOrCancels) {
    ChatFixture f;
    QTemporaryDir dir;
    EXPECT_FALSE(f.chat.SaveTextMessagesToFile());
    EXPECT_EQ(f.ui.pickedTypes, QStringList{QStringLiteral("txt")});

    f.ui.savePath = dir.filePath(QStringLiteral("picked.txt"));
    QFile old(*f.ui.savePath);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));  // longer than the export: must be replaced, not overwritten in part
    old.close();
    f.chat.performMenuAction(ChatMenuAction::ExportMessages);
    EXPECT_EQ(readAll(*f.ui.savePath), formatTextMessageLog({}, {}, QDateTime(QDate(2024, 3, 5), QTime(13, 7))));
    EXPECT_TRUE(f.ui.boxes.empty());
}

TEST(TextChatExport, UncreatableFileReportsAndLeavesTheLogs) {
    ChatFixture f;
    f.chat.UpdateTextView(makeMessage(TextKind::Public, 3, 0, "kept"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/folder/log.txt"));
    EXPECT_FALSE(f.chat.SaveTextMessagesToFile(path));
    ASSERT_EQ(f.ui.boxes.size(), 1U);
    EXPECT_EQ(f.ui.boxes[0].title, QStringLiteral("Export Failed"));
    EXPECT_EQ(f.ui.boxes[0].text, QStringLiteral("Failed to create a file at ") + path);
    EXPECT_EQ(f.ui.boxes[0].buttons, QStringList{QStringLiteral("Close")});
    EXPECT_EQ(f.chat.chatLog().size(), 1U);
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace veltrin::testing
