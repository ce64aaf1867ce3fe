#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "FakeUserInterface.h"
#include "tests/support/LogCapture.h"
#include "app/core/VeltrinTools.h"

namespace veltrin {
namespace {

namespace VT = VeltrinTools;

TEST(VeltrinToolsTest, TranslatesConnectionResultCodes) {
    const QString credentials = QStringLiteral(
        "Your username and password are invalid. Please try again and make sure to specify correct login details.");
    const QString unreachable = QStringLiteral(
        "Unable to connect to the session server. Please make sure you are connected to the internet and there is "
        "no Proxy or Firewall blocking your connection.\n\nIf you are connecting from behind a Proxy server please "
        "configure Veltrin to use your Proxy. To do so click File -> Settings -> Connection and choose your "
        "configuration. Then try again.");
    const QString outdated = QStringLiteral(
        "You are using an outdated version of the virtual classroom. Please close this session and update your "
        "classroom application.");
    const QString other = QStringLiteral(
        "The connection to the live session has failed. Please check your Internet connection and try again.");
    struct Case {
        int code;
        QString message;
    };
    for (const Case& c : {Case{1, credentials}, Case{2, credentials}, Case{13, unreachable}, Case{300, unreachable},
                          Case{21, outdated}, Case{400, other}, Case{0, other}, Case{-1, other}}) {
        EXPECT_EQ(VT::TranslateErrorCode(c.code),
                  c.message + QStringLiteral(" \n\n(Support Code: ") + QString::number(c.code) + QStringLiteral(")"))
            << c.code;
    }
}

TEST(VeltrinToolsTest, LabelsPollAnswers) {
    const QStringList expected{"Yes", "No", "True", "False", "Not Sure", "Maybe", "1", "2", "3",
                               "4",   "5",  "6",    "7",     "8",        "9",     "10", "A", "B",
                               "C",   "D",  "E",    "F",     "Good",     "Bad",   "Correct", "Wrong"};
    for (int id = 0; id < expected.size(); ++id) EXPECT_EQ(VT::AnswerStringById(id), expected[id]) << id;
    for (int id : {-1, 26, 1000}) EXPECT_EQ(VT::AnswerStringById(id), QString()) << id;
}

TEST(VeltrinToolsTest, BinaryStringsOfPollChoices) {
    const QString five = QString(23, u'0') + QStringLiteral("101");
    EXPECT_EQ(VT::binaryStringWithInteger(5), five);
    EXPECT_EQ(VT::binaryStringToInt(five), 5);
    EXPECT_EQ(VT::binaryStringToInt(QString()), 0);
    EXPECT_EQ(VT::binaryStringWithInteger(0), QString(26, u'0'));

    // Bit i is character 25 - i, for every answer id.
    for (int bit = 0; bit < 26; ++bit) {
        const QString text = VT::binaryStringWithInteger(1 << bit);
        ASSERT_EQ(text.size(), 26);
        EXPECT_EQ(text.indexOf(u'1'), 25 - bit);
        EXPECT_EQ(VT::binaryStringToInt(text), 1 << bit);
    }
    // Longer results are not padded or cut.
    EXPECT_EQ(VT::binaryStringWithInteger(1 << 27), QStringLiteral("1") + QString(27, u'0'));
    EXPECT_EQ(VT::binaryStringWithInteger(-1), QString(32, u'1'));
    EXPECT_EQ(VT::binaryStringToInt(QStringLiteral("1x1")), 5);
}

TEST(VeltrinToolsTest, KeyTablesMatchTheirSpotChecks) {
    struct Case {
        int local;
        int windows;
    };
    for (const Case c : {Case{0, 65}, Case{36, 13}, Case{48, 9}, Case{49, 32}, Case{51, 8}, Case{53, 27},
                         Case{114, 47}, Case{122, 112}, Case{123, 37}, Case{124, 39}, Case{125, 40}, Case{126, 38}}) {
        EXPECT_EQ(VT::MACKeyToWin(c.local), c.windows) << c.local;
        EXPECT_EQ(VT::WinKeyToMac(c.windows), c.local) << c.windows;
    }
    for (int unmapped : {10, 52, 54, 55, 58, 60, 61, 62, 63, 64, 127, -1, 1000}) EXPECT_EQ(VT::MACKeyToWin(unmapped), 0) << unmapped;
    for (int outside : {7, 227, 0, -5, 255}) EXPECT_EQ(VT::WinKeyToMac(outside), 0) << outside;
    EXPECT_EQ(VT::WinKeyToMac(226), 42);
    EXPECT_EQ(VT::WinKeyToMac(220), 42);
}

TEST(VeltrinToolsTest, KeyTablesAreInverseEverywhere) {
    int mapped = 0;
    std::set<int> windowsCodes;
    for (int local = 0; local <= 126; ++local) {
        const int windows = VT::MACKeyToWin(local);
        if (windows == 0) continue;
        ++mapped;
        EXPECT_TRUE(windowsCodes.insert(windows).second) << "Windows code " << windows << " used twice";
        EXPECT_EQ(VT::WinKeyToMac(windows), local) << local;
    }
    EXPECT_EQ(mapped, 92);
    for (int windows = 8; windows <= 226; ++windows) {
        const int local = VT::WinKeyToMac(windows);
        if (local == 0 && windows != 65) continue;
        if (windows == 226) continue;
        EXPECT_EQ(VT::MACKeyToWin(local), windows) << windows;
    }
}

TEST(VeltrinToolsTest, CombinesBytesAndWords) {
    EXPECT_EQ(VT::makeWordFromByteL(0x34, 0x12), 0x1234);
    EXPECT_EQ(VT::makeWordFromByteL(0xff, 0xff), 0xffff);
    EXPECT_EQ(VT::makeIntFromWordL(0x5678, 0x1234), 0x12345678u);
    EXPECT_EQ(VT::makeIntFromWordL(0xffff, 0xffff), 0xffffffffu);
}

TEST(VeltrinToolsTest, ConvertsVersionDates) {
    struct Case {
        const char* date;
        const char* text;
    };
    for (const Case c : {Case{"Mar-01-2015", "20150301"}, Case{"dec-24-2019", "20191224"}, Case{"Jan-31-2020", "20200131"},
                         Case{"Xyz-05-2016", "2016XYZ05"}, Case{"Mar-1-201", "00000000"}, Case{"", "00000000"}}) {
        EXPECT_EQ(VT::ConvertVersionDateToString(QString::fromLatin1(c.date)), QString::fromLatin1(c.text)) << c.date;
    }
    EXPECT_GT(VT::ConvertVersionDateToString(QStringLiteral("Apr-01-2015")),
              VT::ConvertVersionDateToString(QStringLiteral("Mar-01-2015")));
}

TEST(VeltrinToolsTest, MessagesGoThroughTheUserInterface) {
    testing::FakeUserInterface ui;
    VT::ShowSimpleMessage(ui, QStringLiteral("Text"), QStringLiteral("Title"), QStringLiteral("Fine"));
    VT::ShowErrorMessage(ui, QStringLiteral("Broken"), QStringLiteral("Failed"), QStringLiteral("ignored"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Title"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Text"));
    EXPECT_EQ(ui.messages[0].buttons, QStringList{QStringLiteral("Fine")});
    EXPECT_EQ(ui.messages[0].style, MessageStyle::Informational);
    EXPECT_EQ(ui.messages[1].title, QStringLiteral("Failed"));
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("Broken"));
    EXPECT_EQ(ui.messages[1].buttons, QStringList{QStringLiteral("Close")});
    EXPECT_EQ(ui.messages[1].style, MessageStyle::Critical);

    ui.nextSavePath = QStringLiteral("/tmp/chat.txt");
    EXPECT_EQ(VT::selectFileToSaveOfType(ui, {QStringLiteral("txt")}), QStringLiteral("/tmp/chat.txt"));
    ui.nextSavePath.reset();
    EXPECT_EQ(VT::selectFileToSaveOfType(ui, {QStringLiteral("pdf")}), std::nullopt);
    EXPECT_EQ(ui.saveRequests.back(), QStringList{QStringLiteral("pdf")});
}

TEST(VeltrinToolsTest, ConfiguresTheProxyOfAStreamPair) {
    struct Case {
        int type;
        int version;
    };
    for (const Case c : {Case{0, 0}, Case{1, 4}, Case{2, 5}, Case{7, 0}}) {
        TcpStreamPair streams("classroom.example", 3301);
        VT::ConfigureStreamsForProxy(streams, c.type, QStringLiteral("proxy.example"), 1080, QStringLiteral("ann"),
                                     QStringLiteral("pw"));
        if (c.version == 0) {
            EXPECT_EQ(streams.proxy(), SocksProxy{}) << c.type;
        } else {
            EXPECT_EQ(streams.proxy(), (SocksProxy{c.version, "proxy.example", 1080, "ann", "pw"})) << c.type;
        }
    }
}

// Points the system temporary folder somewhere of the test's own while alive.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const QString& path) : old_(qgetenv("TMPDIR")) { qputenv("TMPDIR", path.toLocal8Bit()); }
    ~TemporaryFolder() {
        if (old_.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", old_);
    }

private:
    QByteArray old_;
};

TEST(VeltrinToolsTest, TemporaryFilesAreNewUniqueAndNamedByTheirExtension) {
    QTemporaryDir root;
    const TemporaryFolder folder(root.path());
    const QString ours = QDir(root.path()).filePath(QStringLiteral("veltrin"));
    EXPECT_EQ(VT::getVeltrinTempDir(), ours);
    EXPECT_TRUE(QFileInfo(ours).isDir());

    struct Case {
        std::optional<QString> path;
        const char* pattern;
    };
    std::set<QString> seen;
    for (const Case& c : {Case{VT::tmpFile(QStringLiteral("wbf")), "^file-[A-Za-z0-9]{6}\\.wbf$"},
                          Case{VT::tmpFile(QString()), "^file-[A-Za-z0-9]{6}\\.tm8$"},
                          Case{VT::tmpFile(), "^file-[A-Za-z0-9]{6}\\.caf$"},
                          Case{VT::tmpFile(), "^file-[A-Za-z0-9]{6}\\.caf$"}}) {
        ASSERT_TRUE(c.path.has_value());
        const QFileInfo info(*c.path);
        EXPECT_EQ(info.absolutePath(), ours);
        EXPECT_TRUE(QRegularExpression(QString::fromLatin1(c.pattern)).match(info.fileName()).hasMatch())
            << info.fileName().toStdString();
        EXPECT_TRUE(info.exists());
        EXPECT_EQ(info.size(), 0);
        EXPECT_TRUE(seen.insert(*c.path).second) << "names must be unique";
    }
}

TEST(VeltrinToolsTest, TemporaryFolderFallsBackToTheSystemFolder) {
    QTemporaryDir root;
    const TemporaryFolder folder(root.path());
    QFile blocker(QDir(root.path()).filePath(QStringLiteral("veltrin")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(QDir(VT::getVeltrinTempDir()), QDir(root.path()));
    const std::optional<QString> file = VT::tmpFile();
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(QFileInfo(*file).absolutePath(), QFileInfo(root.path()).absoluteFilePath());
}

TEST(VeltrinToolsTest, TemporaryFileFailuresAreLoggedAndAnswerNothing) {
    QTemporaryDir root;
    const QString notAFolder = QDir(root.path()).filePath(QStringLiteral("plain-file"));
    QFile plain(notAFolder);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    {
        const TemporaryFolder folder(notAFolder);
        testing::LogCapture log;
        EXPECT_EQ(VT::tmpFile(), std::nullopt);
        EXPECT_EQ(log.lines(), std::vector<std::string>{"Error while creating tmp file"});
    }
    const TemporaryFolder usable(root.path());
    testing::LogCapture log;
    EXPECT_EQ(VT::tmpFile(QStringLiteral("../../x")), std::nullopt);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Error while creating tmp file"});
}

TEST(VeltrinToolsTest, AMissingSystemTemporaryFolderNeverMeansTheWorkingFolder) {
    QTemporaryDir root;
    const TemporaryFolder folder(QDir(root.path()).filePath(QStringLiteral("missing")));
    EXPECT_TRUE(QDir::isAbsolutePath(VT::getVeltrinTempDir())) << VT::getVeltrinTempDir().toStdString();
}

}  // namespace
}  // namespace veltrin
