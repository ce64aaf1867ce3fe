#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "BoardTestSupport.h"
#include "whiteboard/boards/BoardFiles.h"
#include "whiteboard/boards/BoardPdfExport.h"

namespace veltrin::wb::test {
namespace {

QString runTool(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Mean absolute difference per channel, 0-255.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

TEST(BoardPdfExportTest, TwoBoardsBecomeTwoPagesThatLookLikeTheBoards) {
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdfinfo.isEmpty() || pdftoppm.isEmpty()) GTEST_SKIP() << "poppler-utils are not installed";

    QTemporaryDir dir;
    const BoardFiles files(dir.path());
    BoardState first;
    first.Index = 1;
    first.BoardLoaded = true;
    PaintObjectList firstObjects(1);
    firstObjects.append(std::make_shared<TPaintObject>(rectangle(1, 1, 100)));
    firstObjects.append(std::make_shared<TPaintObject>(stroke(1, 2)));
    BoardState second;
    second.Index = 2;
    second.BoardLoaded = true;
    second.OriginalW = 800;
    second.OriginalH = 600;
    second.FHasBgImage = true;
    second.ImageType = 2;
    second.setBackground(quarterImage(800, 600));
    PaintObjectList secondObjects(2);
    ASSERT_TRUE(files.store(first, firstObjects));
    ASSERT_TRUE(files.store(second, secondObjects));

    const QString pdf = dir.filePath(QStringLiteral("set.pdf"));
    ASSERT_TRUE(BoardPdfExport::exportBoardFiles(pdf, files.listFiles()));

    const QString info = runTool(pdfinfo, {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+1024 x 768 pts")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Veltrin Whiteboard Set")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Creator:\\s+Veltrin 8")))) << info.toStdString();

    const QString prefix = dir.filePath(QStringLiteral("page"));
    runTool(pdftoppm, {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"), pdf, prefix});
    const QImage page1(prefix + QStringLiteral("-1.png"));
    const QImage page2(prefix + QStringLiteral("-2.png"));
    ASSERT_EQ(page1.size(), QSize(1024, 768));
    ASSERT_EQ(page2.size(), QSize(1024, 768));
    BoardState back;
    PaintObjectList backObjects;
    ASSERT_TRUE(BoardFiles::loadFile(files.pathFor(1), back, backObjects));
    EXPECT_LT(meanDifference(page1, BoardPdfExport::renderPage(back, backObjects)), 3.0);
    ASSERT_TRUE(BoardFiles::loadFile(files.pathFor(2), back, backObjects));
    const QImage expected2 = BoardPdfExport::renderPage(back, backObjects);
    EXPECT_LT(meanDifference(page2, expected2), 3.0);
    // The two pages differ, so the comparison tells them apart.
    EXPECT_GT(meanDifference(page1, expected2), 20.0);
}

}  // namespace
}  // namespace veltrin::wb::test
