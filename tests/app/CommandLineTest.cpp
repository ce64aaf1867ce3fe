#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace veltrin {
namespace {

TEST(CommandLineTest, ReadsTheLaunchArgumentAndTheScreenshotOption) {
    qunsetenv("VELTRIN_SCREENSHOT");
    struct Case {
        QStringList arguments;
        QString launch;
        QString screenshot;
        bool error;
    };
    const Case cases[] = {
        {{"veltrin"}, "", "", false},
        {{"veltrin", "vcc8join://h:1/u/p/7"}, "vcc8join://h:1/u/p/7", "", false},
        {{"veltrin", "--screenshot", "/tmp/a.png"}, "", "/tmp/a.png", false},
        {{"veltrin", "--screenshot=/tmp/b.png", "rec.vc8"}, "rec.vc8", "/tmp/b.png", false},
        {{"veltrin", "--", "-odd.vc8"}, "-odd.vc8", "", false},
        {{"veltrin", "--screenshot"}, "", "", true},
        {{"veltrin", "--bogus"}, "", "", true},
        {{"veltrin", "a.vc8", "b.vc8"}, "", "", true},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.arguments);
        EXPECT_EQ(!line.error.isEmpty(), c.error) << c.arguments.join(u' ').toStdString();
        if (c.error) continue;
        EXPECT_EQ(line.launchArgument, c.launch);
        EXPECT_EQ(line.screenshotPath, c.screenshot);
    }
}

TEST(CommandLineTest, TheEnvironmentCanAskForAScreenshot) {
    qputenv("VELTRIN_SCREENSHOT", "/tmp/env.png");
    EXPECT_EQ(parseCommandLine({"veltrin"}).screenshotPath, QStringLiteral("/tmp/env.png"));
    EXPECT_EQ(parseCommandLine({"veltrin", "--screenshot", "/tmp/x.png"}).screenshotPath, QStringLiteral("/tmp/x.png"));
    qunsetenv("VELTRIN_SCREENSHOT");
}

}  // namespace
}  // namespace veltrin
