#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>

#include "whiteboard/boards/NewWhiteboardPanel.h"

namespace veltrin::wb {
namespace {

TEST(NewWhiteboardPanelTest, ImageTabNeedsAPictureAndThePictureDecidesTheSize) {
    NewWhiteboardPanel panel;
    panel.setImageTab(true);
    const auto refusal = panel.create();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->toStdString(),
              "Unable to add whiteboard without image. Please select an image or try a plain color whiteboard.");

    panel.chooseTemplate(3);
    ASSERT_FALSE(panel.preview().isNull());
    EXPECT_FALSE(panel.create());
    EXPECT_EQ(panel.request().width, 1024);
    EXPECT_EQ(panel.request().height, 768);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(QImage(320, 200, QImage::Format_RGB32).save(path));
    ASSERT_TRUE(panel.chooseFile(path));
    EXPECT_EQ(panel.titleField()->text(), QStringLiteral("photo.png"));
    EXPECT_FALSE(panel.create());
    EXPECT_EQ(panel.request().width, 320);
    EXPECT_EQ(panel.request().title, "photo.png");

    // The plain tab drops the picture and takes the typed size.
    panel.setImageTab(false);
    panel.applyPreset(3);
    EXPECT_FALSE(panel.create());
    EXPECT_TRUE(panel.request().image.isNull());
    EXPECT_EQ(panel.request().width, 1600);
    EXPECT_EQ(panel.request().height, 1200);
}

}  // namespace
}  // namespace veltrin::wb
