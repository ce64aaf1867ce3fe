#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "BoardTestSupport.h"
#include "tests/support/LogCapture.h"
#include "whiteboard/ImageCodec.h"
#include "whiteboard/boards/BoardSet.h"
#include "wire/VCTools.h"

namespace veltrin::wb::test {
namespace {

struct SentCommand {
    std::uint16_t id = 0;
    Bytes payload;
    std::int32_t intAt(std::size_t offset) const {
        MemoryInputStream in{std::span<const std::uint8_t>(payload).subspan(offset)};
        return VCTools::readInt(in);
    }
};

std::vector<SentCommand> takeSent(CommandBuffer& buffer) {
    const Bytes bytes = buffer.take();
    MemoryInputStream in{std::span<const std::uint8_t>(bytes)};
    std::vector<SentCommand> out;
    while (in.buffered() > 0) {
        const auto frame = VCTools::readCommand(in);
        if (!frame) break;
        SentCommand c{frame->CommandID, {}};
        VCTools::readPayload(in, frame->DataSize, c.payload, bytes.size());
        out.push_back(std::move(c));
    }
    return out;
}

// Records what the board set shows; alerts are answered from `confirm`.
class RecordingDelegate final : public BoardSetDelegate {
public:
    bool confirm = true;
    std::vector<BoardAlert> alerts;
    std::vector<std::pair<std::string, double>> toasts;
    std::vector<std::string> errors;
    std::vector<BoardList::Item> listItems;
    std::int32_t selectedTag = 0;
    int displays = 0;
    int blinks = 0;
    std::string markupImage;
    std::int32_t scaleControl = -1;
    std::vector<std::pair<QSize, QPointF>> placed;

    bool runAlert(const BoardAlert& alert) override {
        alerts.push_back(alert);
        return confirm;
    }
    void showToast(const std::string& text, double seconds) override { toasts.emplace_back(text, seconds); }
    void addErrorMessage(const std::string& text) override { errors.push_back(text); }
    void boardListChanged(const BoardList& list, std::int32_t tag) override {
        listItems = list.items();
        selectedTag = tag;
    }
    void repaintCanvas() override {}
    void displayWhiteboard(bool) override { ++displays; }
    void blinkWhiteboardView() override { ++blinks; }
    void setMarkupButtonImage(const std::string& name) override { markupImage = name; }
    void setScaleControls(std::int32_t chosen) override { scaleControl = chosen; }
    void showPointer(std::int32_t, std::int32_t, bool, std::int32_t) override {}
    void placeImageObject(const QImage& picture, const QPointF& point) override {
        placed.emplace_back(picture.size(), point);
    }
};

class BoardSetTest : public ::testing::Test {
protected:
    BoardSetTest() : set_(delegate_, BoardFiles(dir_.path())) {
        set_.setConnection(&sent_);
        set_.setBoardAllowed(true);
        set_.setUserType(1);
        set_.startSession();
    }

    // Shows board `index` as the server's answer to 159 would.
    void show(std::int32_t index, const std::string& title, bool withImage) {
        TBoardSnapshot s;
        s.Index = index;
        s.Title = title;
        s.BoardLoaded = true;
        s.MarkupVisible = true;
        s.OriginalW = 1024;
        s.OriginalH = 768;
        s.HasBgImage = withImage;
        if (withImage) {
            s.ImageType = 2;
            s.BackgroundImage = ImageCodec::encode(quarterImage(40, 20), ImageCodec::kPng);
        }
        s.Complete = true;
        set_.loadSingleBoard(s);
        takeSent(sent_);
    }

    QTemporaryDir dir_;
    RecordingDelegate delegate_;
    CommandBuffer sent_{101, 1001};
    BoardSet set_;
};

TEST_F(BoardSetTest, JoiningAsksForBoardsActiveBoardAndView) {
    set_.sendJoinRequests();
    const auto sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].id, 79);
    EXPECT_EQ(sent[0].payload, Bytes{1});
    EXPECT_EQ(sent[1].id, 81);
    EXPECT_TRUE(sent[1].payload.empty());
    EXPECT_EQ(sent[2].id, 119);
    EXPECT_EQ(delegate_.scaleControl, 1);
    EXPECT_EQ(set_.storedScaleType(), 1);
}

TEST_F(BoardSetTest, MultiBoardAnswerEndsExactlyAtItsSize) {
    Bytes payload;
    TBoardStreamHead a = head(1, "Whiteboard");
    TBoardStreamHead b = head(2, "Größe über 板");
    TBoardStreamHead c = head(3, "not here");
    c.BoardLoaded = false;
    BoardStream::writeSnapshotMD(payload, a, std::vector{entryOf(rectangle(5, 1, 0))});
    BoardStream::writeSnapshotMD(payload, b, std::vector{entryOf(stroke(5, 2)), entryOf(rectangle(6, 1, 9))});
    Bytes last;
    BoardStream::writeSnapshotMD(last, c, {});
    payload.insert(payload.end(), last.begin(), last.end());
    EXPECT_EQ(set_.loadServerBoards(payload), 3u);
    ASSERT_EQ(delegate_.listItems.size(), 3u);
    EXPECT_EQ(delegate_.listItems[1].title, "Größe über 板 (2)");
    // Live: the answer neither shows nor stores boards.
    EXPECT_EQ(delegate_.displays, 0);
    EXPECT_TRUE(set_.files().listFiles().isEmpty());

    // A board cut short ends the answer and is not listed; those before it stand.
    set_.startSession();
    const Bytes cut(payload.begin(), payload.end() - static_cast<std::ptrdiff_t>(last.size() + 5));
    EXPECT_EQ(set_.loadServerBoards(cut), 1u);
    ASSERT_EQ(delegate_.listItems.size(), 1u);
    EXPECT_EQ(delegate_.listItems[0].tag, 1);
}

TEST_F(BoardSetTest, RotationSendsTheNextIndexAndAppliesOnlyTheShownBoard) {
    set_.rotate(1);
    EXPECT_EQ(delegate_.toasts.back(),
              std::make_pair(std::string("Nothing to rotate. This whiteboard has no background slide on it."), 2.0));
    EXPECT_TRUE(takeSent(sent_).empty());

    show(5, "Slide", true);
    set_.rotate(-1);
    auto sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].id, 165);
    EXPECT_EQ(sent[0].intAt(0), 5);
    EXPECT_EQ(sent[0].intAt(4), 2 | (3 << 8));
    EXPECT_EQ(set_.board().OriginalW, 40);  // nothing changes before the server answers

    set_.setBoardRotation(6, 2 | (1 << 8));
    EXPECT_EQ(set_.board().OriginalW, 40);
    set_.setBoardRotation(5, 2 | (3 << 8));
    EXPECT_EQ(set_.board().OriginalW, 20);
    EXPECT_EQ(set_.board().OriginalH, 40);
    set_.rotate(1);
    sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].intAt(4), 2);
    set_.setBoardRotation(5, 2);
    EXPECT_EQ(set_.board().BackgroundImage.convertToFormat(QImage::Format_RGB32),
              quarterImage(40, 20).convertToFormat(QImage::Format_RGB32));
}

TEST_F(BoardSetTest, RemovalsAskFirstAndRefuseTheDefaultBoard) {
    show(1, "Whiteboard", false);
    set_.removeThisBoard();
    ASSERT_EQ(delegate_.alerts.size(), 1u);
    EXPECT_EQ(delegate_.alerts[0],
              (BoardAlert{"Action not possible.", "You may not delete the default whiteboard.", {"Ok"}}));
    EXPECT_TRUE(takeSent(sent_).empty());

    delegate_.confirm = false;
    set_.removeAllBoards();
    EXPECT_EQ(delegate_.alerts.back().message, "Remove all whiteboards?");
    EXPECT_TRUE(takeSent(sent_).empty());

    delegate_.confirm = true;
    set_.removeAllBoards();
    auto sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].id, 157);
    EXPECT_EQ(sent[0].intAt(0), -1);
    EXPECT_EQ(sent[0].intAt(4), 1);

    show(3, "Third", false);
    set_.removeThisBoard();
    EXPECT_EQ(delegate_.alerts.back().informativeText,
              "You are about to delete this whiteboard. This action cannot be undone.\n\nPlease confirm.");
    sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].intAt(0), 3);

    set_.removeMarkup();
    EXPECT_EQ(delegate_.alerts.back().buttons, (std::vector<std::string>{"Yes", "No"}));
    sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].id, 80);
    EXPECT_EQ(sent[0].intAt(4), 2);
}

TEST_F(BoardSetTest, RemovingAllBoardsLeavesTheFirstAndSwitchesToIt) {
    show(1, "Whiteboard", false);
    show(2, "Two", false);
    show(3, "Three", false);
    ASSERT_EQ(delegate_.listItems.size(), 3u);
    // As the dispatcher does for 157: leave the board, then remove it.
    set_.switchToBoard(1);
    auto sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].id, 159);
    EXPECT_EQ(sent[0].intAt(0), 1);
    set_.deleteBoardFromList(-1);
    ASSERT_EQ(delegate_.listItems.size(), 1u);
    EXPECT_EQ(delegate_.listItems[0].tag, 1);
    EXPECT_EQ(set_.myBoardIndex(), 1);
    EXPECT_FALSE(set_.files().exists(2));
}

TEST_F(BoardSetTest, MarkupToggleAndReceivedClear) {
    show(2, "Two", false);
    set_.toggleMarkup();
    auto sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].id, 80);
    EXPECT_EQ(sent[0].intAt(4), 0);
    EXPECT_FALSE(set_.board().FMarkupVisible);
    EXPECT_EQ(delegate_.toasts.back(), std::make_pair(std::string("Markup hidden by host."), 1.0));
    EXPECT_EQ(delegate_.markupImage, "tbwb_28x28_markup_hidden.png");

    set_.clearWhiteboard(2, 1);
    EXPECT_TRUE(set_.board().FMarkupVisible);
    EXPECT_EQ(delegate_.toasts.back().first, "Markup is visible.");
    set_.objects().append(std::make_shared<TPaintObject>(rectangle(1, 1, 0)));
    set_.clearWhiteboard(9, 2);
    EXPECT_EQ(set_.objects().size(), 1u);
    set_.clearWhiteboard(2, 2);
    EXPECT_EQ(set_.objects().size(), 0u);
}

TEST_F(BoardSetTest, NewBoardsAndSlides) {
    EXPECT_FALSE(set_.createBoard({"none", 0, 600, Qt::white, {}}));
    EXPECT_TRUE(takeSent(sent_).empty());
    EXPECT_TRUE(set_.createBoard({"Plain", 800, 600, Qt::white, {}}));
    auto sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].id, 156);
    EXPECT_EQ(sent[0].intAt(12), 800);

    TNewBoard created;
    created.Index = 4;
    created.Title = "Plain";
    created.Width = 800;
    created.Height = 600;
    created.MarkupVisible = true;
    set_.createXBoard(created, 77);
    sent = takeSent(sent_);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].id, 55);
    EXPECT_EQ(sent[0].intAt(0), 77);
    EXPECT_TRUE(set_.files().exists(4));
    EXPECT_EQ(set_.myBoardIndex(), 4);
    EXPECT_EQ(delegate_.listItems.back().title, "Plain (4)");

    set_.slideAnswer(0);
    EXPECT_TRUE(delegate_.errors.empty());
    set_.slideAnswer(1);
    EXPECT_EQ(delegate_.errors, std::vector<std::string>{"Slide not found."});
}

TEST_F(BoardSetTest, ScreenshotAndClipArtPlacement) {
    show(2, "Two", false);
    set_.placeScreenshot(QImage(2880, 1800, QImage::Format_RGB32), false, "");
    ASSERT_EQ(delegate_.placed.size(), 1u);
    EXPECT_EQ(delegate_.placed[0].first.width(), 676);
    EXPECT_EQ(delegate_.placed[0].second, QPointF(10, 10));

    auto selected = std::make_shared<TPaintObject>(rectangle(1, 1, 850));
    set_.objects().append(selected);
    set_.objects().setSelected(selected);
    set_.addClipArt(QImage(100, 100, QImage::Format_ARGB32));
    EXPECT_EQ(delegate_.placed.back().second, QPointF(10, 130));

    set_.setBoardAllowed(false);
    set_.addClipArt(QImage(100, 100, QImage::Format_ARGB32));
    EXPECT_EQ(delegate_.placed.size(), 2u);
}

TEST_F(BoardSetTest, PlaybackSwitchesFromFiles) {
    show(2, "Two", true);
    show(3, "Three", false);
    ASSERT_TRUE(set_.files().exists(2));
    set_.setLive(false);
    set_.setConnection(nullptr);

    set_.switchToBoard(2);
    EXPECT_EQ(set_.board().Index, 2);
    EXPECT_EQ(set_.board().Title, "Two");
    EXPECT_FALSE(set_.board().BackgroundImage.isNull());
    EXPECT_TRUE(set_.readOnly());

    veltrin::testing::LogCapture log;
    set_.switchToBoard(9);
    EXPECT_TRUE(log.hasLine("WB with Index 9 does not exist."));
    EXPECT_EQ(set_.board().Index, 2);

    // Choosing from the list does nothing in playback.
    set_.setConnection(&sent_);
    set_.chooseBoard(3);
    EXPECT_TRUE(takeSent(sent_).empty());
}

}  // namespace
}  // namespace veltrin::wb::test
