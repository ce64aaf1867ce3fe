// The board controls of the whiteboard page without a server: the exports behind their file picker,
// the scale controls and the local markup toggle.

#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

#include "classroom/ClassroomView.h"
#include "classroom/whiteboard/BoardControlsBar.h"
#include "classroom/whiteboard/WhiteboardFeature.h"
#include "tests/classroom/FakeShell.h"
#include "whiteboard/TActivePaintBox.h"

namespace veltrin::testing {
namespace {

// Answers the save panel with a chosen path and remembers what it was asked for.
class SavingUi final : public UserInterface {
public:
    int showMessage(const QString&, const QString&, const QStringList&, MessageStyle) override { return 0; }
    std::optional<QString> selectFileToSave(const QStringList& fileTypes) override {
        asked.push_back(fileTypes);
        return path;
    }
    void openUrl(const QUrl&) override {}
    void quit() override {}

    std::optional<QString> path;
    std::vector<QStringList> asked;
};

class BoardControls : public ::testing::Test {
protected:
    void SetUp() override {
        WhiteboardLinks links;
        links.boardAllowed = [] { return true; };
        links.ui = &ui;
        links.toast = [this](const std::string& text, double seconds) { toasts.emplace_back(text, seconds); };
        feature = std::make_unique<WhiteboardFeature>(links, shell.settings, view);
        feature->resetForJoin(101);
        feature->applyControls(false, true);
    }

    FakeShell shell;
    ClassroomView view;
    SavingUi ui;
    std::vector<std::pair<std::string, double>> toasts;
    std::unique_ptr<WhiteboardFeature> feature;
};

TEST_F(BoardControls, TheExportOfAllBoardsAsksForAPdfFileAndSaysWhenItIsReady) {
    QTemporaryDir dir;
    ui.path = dir.filePath(QStringLiteral("boards.pdf"));
    EXPECT_TRUE(feature->ExportAllBoardsToPDFFile());
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0], QStringList{QStringLiteral("pdf")});
    QFile pdf(*ui.path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    ASSERT_EQ(toasts.size(), 1u);
    EXPECT_EQ(toasts[0], std::make_pair(std::string("PDF File Ready"), 2.0));

    // A cancelled panel writes nothing and says nothing.
    ui.path.reset();
    EXPECT_FALSE(feature->ExportAllBoardsToPDFFile());
    EXPECT_FALSE(feature->exportCurrentBoard());
    EXPECT_EQ(toasts.size(), 1u);
}

TEST_F(BoardControls, ScaleControlsAndTheMarkupToggleShowTheirState) {
    BoardControlsBar& bar = *feature->controls();
    // A session starts fitted to the board.
    EXPECT_FALSE(bar.scaleButton(wb::kFitBoard)->isEnabled());
    for (const std::int32_t type : {wb::kNoScaling, wb::kFitWidth, wb::kFitBoard}) {
        bar.scaleButton(type)->click();
        EXPECT_EQ(feature->canvas()->appearance().scaleType, type);
        EXPECT_EQ(feature->boards().storedScaleType(), type);
        for (std::int32_t other = 0; other < 3; ++other)
            EXPECT_EQ(bar.scaleButton(other)->isEnabled(), other != type) << type << " " << other;
    }

    bar.markupButton()->click();
    EXPECT_FALSE(feature->canvas()->appearance().markupVisible);
    EXPECT_EQ(bar.markupImage(), QStringLiteral("tbwb_28x28_markup_hidden.png"));
    bar.markupButton()->click();
    EXPECT_TRUE(feature->canvas()->appearance().markupVisible);
    EXPECT_EQ(toasts, (std::vector<std::pair<std::string, double>>{{"Markup hidden by host.", 1.0},
                                                                   {"Markup is visible.", 1.0}}));
    // Without a background there is nothing to turn.
    bar.rotateRightButton()->click();
    EXPECT_EQ(toasts.back().first, "Nothing to rotate. This whiteboard has no background slide on it.");
}

}  // namespace
}  // namespace veltrin::testing
