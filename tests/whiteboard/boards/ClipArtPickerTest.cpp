#include <gtest/gtest.h>

#include <QListWidget>
#include <QSignalSpy>

#include "app/core/Resources.h"
#include "whiteboard/boards/ClipArtPicker.h"

namespace veltrin::wb {
namespace {

TEST(ClipArtPickerTest, EveryCategoryListsItsPicturesAndAChoiceEmitsThePicture) {
    ClipArtPicker picker;
    const int expected[] = {21, 41, 16, 24, 24, 37, 39};
    for (int c = 1; c <= ClipArtPicker::kCategories; ++c) {
        picker.setCategory(c);
        EXPECT_EQ(picker.pictureList()->count(), expected[c - 1]) << c;
        for (int k = 1; k <= expected[c - 1]; ++k) {
            EXPECT_FALSE(resourcePath(ResourceFolder::ClipArt, ClipArtPicker::pictureName(c, k)).isEmpty())
                << c << "-" << k;
        }
    }
    EXPECT_EQ(ClipArtPicker::pictureCount(8), 0);

    picker.setCategory(2);
    QSignalSpy chosen(&picker, &ClipArtPicker::pictureChosen);
    emit picker.pictureList()->itemActivated(picker.pictureList()->item(4));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(1).toInt(), 2);
    EXPECT_EQ(chosen.at(0).at(2).toInt(), 5);
    EXPECT_FALSE(chosen.at(0).at(0).value<QImage>().isNull());
}

TEST(ClipArtPickerTest, TemplatesOfTheNewBoardPanelExist) {
    for (int n = 1; n <= 6; ++n) {
        EXPECT_FALSE(resourcePath(ResourceFolder::Templates, QStringLiteral("wbtemplate_%1.png").arg(n)).isEmpty()) << n;
    }
}

}  // namespace
}  // namespace veltrin::wb
