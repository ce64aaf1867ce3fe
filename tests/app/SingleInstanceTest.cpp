#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/SingleInstance.h"

namespace veltrin {
namespace {

// Runs the event loop until the condition holds or five seconds pass.
template <typename Condition>
bool waitFor(Condition condition) {
    QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    QString name() const { return dir_.filePath(QStringLiteral("veltrin-test")); }

    // The hand-over blocks until the running instance answers, which needs this thread's event
    // loop, so the second start is played by another thread.
    bool sendFromSecondStart(const QString& argument) {
        std::atomic<int> result{-1};
        std::thread second([&] { result = SingleInstance::sendToRunning(name(), argument, 3000) ? 1 : 0; });
        waitFor([&] { return result.load() != -1; });
        second.join();
        return result == 1;
    }

    QTemporaryDir dir_;
};

TEST_F(SingleInstanceTest, ASecondStartHandsItsArgumentOver) {
    SingleInstance first(name());
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::argumentReceived);

    const QString link = QStringLiteral("vcc8join://h:5000/J%C3%BCrgen/p/7");
    EXPECT_TRUE(sendFromSecondStart(link));
    ASSERT_TRUE(waitFor([&] { return received.count() == 1; }));
    EXPECT_EQ(received[0][0].toString(), link);

    EXPECT_TRUE(sendFromSecondStart(QString()));
    ASSERT_TRUE(waitFor([&] { return received.count() == 2; }));
    EXPECT_EQ(received[1][0].toString(), QString());
}

TEST_F(SingleInstanceTest, WithoutARunningInstanceTheHandOverFails) {
    EXPECT_FALSE(SingleInstance::sendToRunning(name(), QStringLiteral("x"), 500));
}

TEST_F(SingleInstanceTest, ASocketLeftByACrashedInstanceIsReplaced) {
    QFile leftover(name());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    SingleInstance first(name());
    EXPECT_TRUE(first.listen());
    EXPECT_TRUE(first.isListening());
}

TEST_F(SingleInstanceTest, OversizedOrTruncatedHandOversAreDropped) {
    SingleInstance first(name());
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::argumentReceived);

    QLocalSocket huge;
    huge.connectToServer(name());
    ASSERT_TRUE(huge.waitForConnected(1000));
    char header[4];
    qToBigEndian<quint32>(100u * 1024u * 1024u, header);
    huge.write(header, 4);
    huge.flush();
    EXPECT_TRUE(waitFor([&] { return huge.state() == QLocalSocket::UnconnectedState; }))
        << "the instance must hang up instead of waiting for 100 MiB";

    QLocalSocket truncated;
    truncated.connectToServer(name());
    ASSERT_TRUE(truncated.waitForConnected(1000));
    qToBigEndian<quint32>(10u, header);
    truncated.write(header, 4);
    truncated.write("abc", 3);
    truncated.flush();
    truncated.disconnectFromServer();

    EXPECT_TRUE(sendFromSecondStart(QStringLiteral("after")));
    ASSERT_TRUE(waitFor([&] { return received.count() >= 1; }));
    EXPECT_EQ(received.count(), 1);
    EXPECT_EQ(received[0][0].toString(), QStringLiteral("after"));
    EXPECT_FALSE(SingleInstance::sendToRunning(name(), QString(SingleInstance::MaxArgumentBytes + 1, u'x'), 500));
}

TEST(SingleInstanceNameTest, IsPerUserAndInAPrivateFolder) {
    const QString name = SingleInstance::defaultServerName();
    EXPECT_TRUE(name.endsWith(QStringLiteral("/veltrin-%1").arg(getuid()))) << name.toStdString();
}

}  // namespace
}  // namespace veltrin
