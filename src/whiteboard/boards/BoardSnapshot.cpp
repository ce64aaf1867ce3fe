#include "whiteboard/boards/BoardSnapshot.h"

#include <map>
#include <utility>

#include "whiteboard/ImageCodec.h"
#include "whiteboard/PaintCodec.h"
#include "whiteboard/PaintObjectRenderer.h"
#include "wire/VCTools.h"

namespace veltrin::wb {

namespace {

PaintColor colorFromBytes(const std::uint8_t (&c)[4]) {
    return PaintColor::rgb(c[0] / 255.0, c[1] / 255.0, c[2] / 255.0);
}

void takeHead(const TBoardStreamHead& head, BoardState& board) {
    board.Index = head.Index;
    board.PresentationId = head.PresentationId;
    board.SlideNo = head.SlideNo;
    board.BoardLoaded = head.BoardLoaded;
    board.BoardId = head.BoardId;
    board.Title = head.Title;
    board.UserId = head.UserId;
    board.OriginalW = head.OriginalW;
    board.OriginalH = head.OriginalH;
    board.FBackgroundColor = colorFromBytes(head.Color);
    board.FMarkupVisible = head.MarkupVisible;
    board.FHasBgImage = head.HasBgImage;
}

// Sets the background from an encoded image; answers false when it does not decode, leaving the
// board without a background picture.
bool takeBackground(std::span<const std::uint8_t> encoded, std::int32_t imageType, BoardState& board) {
    board.ImageType = imageType;
    std::optional<QImage> image = BoardSnapshot::decodeBackground(encoded, imageType);
    if (!image) {
        board.setBackground(QImage());
        return false;
    }
    board.OriginalW = image->width();
    board.OriginalH = image->height();
    board.setBackground(std::move(*image));
    return true;
}

using ObjectKey = std::pair<std::int32_t, std::int32_t>;

}  // namespace

std::optional<QImage> BoardSnapshot::decodeBackground(std::span<const std::uint8_t> encoded, std::int32_t imageType) {
    std::optional<QImage> image = ImageCodec::decode(encoded);
    if (!image) return std::nullopt;
    return PaintObjectRenderer::rotateBackground(*image, (imageType >> 8) & 0xff);
}

BoardReadResult BoardSnapshot::readFromStream(InputStream& is, bool headersAvailable, BoardState& board,
                                              PaintObjectList& objects) {
    objects.clear();
    BoardReadResult result;
    TBoardStreamHead head;
    result.status = BoardStream::readHead(is, head, result.consumed);
    takeHead(head, board);
    board.ImageType = 0;
    board.setBackground(QImage());
    objects.setBoardIndex(board.Index);
    // Part of an image is not shown: a cut-off picture would pass for the whole one.
    if (head.imageBlockFollows() && !head.Image.empty() && result.complete()) {
        result.backgroundDecoded = takeBackground(head.Image, head.ImageType, board);
    } else if (head.imageBlockFollows()) {
        board.ImageType = head.ImageType;
        result.backgroundDecoded = false;
    }

    std::vector<PaintObjectPtr> list;
    if (result.complete() && head.BoardLoaded && head.ObjectCount > 0) {
        // Objects are built aside and handed over at once: the list's lock is taken once, and a
        // snapshot naming one object twice updates it as the live update path would.
        std::map<ObjectKey, std::size_t> byId;
        for (std::int32_t i = 0; i < head.ObjectCount; ++i) {
            if (headersAvailable) {
                TBoardStreamObject entry;
                result.status = BoardStream::readObject(is, entry, result.consumed);
                if (!result.complete()) break;
                ++result.objectsRead;
                if (entry.Header.ObjectSize <= 0) continue;
                MemoryInputStream body{std::span<const std::uint8_t>(entry.Body)};
                const auto found = byId.find({entry.Header.UserId, entry.Header.LocalIndex});
                std::size_t position = list.size();
                if (found != byId.end()) {
                    position = found->second;
                    byId.erase(found);
                } else {
                    list.push_back(
                        std::make_shared<TPaintObject>(entry.Header.UserId, entry.Header.LocalIndex, board.Index));
                }
                TPaintObject& object = *list[position];
                object.LoadFromStream(body);
                object.FBorardIndex = board.Index;
                byId[{object.FUserID, object.FObjectID}] = position;
            } else {
                // Bodies are not delimited here: one that does not read whole ends the board.
                auto object = std::make_shared<TPaintObject>(0, 0, board.Index);
                if (!object->LoadFromStream(is)) {
                    result.status = VCTools::checkIS(is) || is.status() == StreamStatus::AtEnd
                                        ? BoardStreamStatus::Truncated
                                        : BoardStreamStatus::Invalid;
                    break;
                }
                object->FBorardIndex = board.Index;
                list.push_back(std::move(object));
                ++result.objectsRead;
            }
        }
    }
    objects.replaceAll(std::move(list));
    board.HeaderSize = static_cast<std::int32_t>(std::min<std::size_t>(result.consumed, INT32_MAX));
    return result;
}

Bytes BoardSnapshot::fileBytes(const BoardState& board, const PaintObjectList& objects) {
    TBoardStreamHead head;
    head.Index = board.Index;
    head.PresentationId = board.PresentationId;
    head.SlideNo = board.SlideNo;
    head.BoardLoaded = board.BoardLoaded;
    head.BoardId = board.BoardId;
    head.Title = board.Title;
    head.UserId = board.UserId;
    head.OriginalW = board.OriginalW;
    head.OriginalH = board.OriginalH;
    head.Color[0] = PaintCodec::colorComponent(board.FBackgroundColor.red);
    head.Color[1] = PaintCodec::colorComponent(board.FBackgroundColor.green);
    head.Color[2] = PaintCodec::colorComponent(board.FBackgroundColor.blue);
    head.Color[3] = PaintCodec::colorComponent(board.FBackgroundColor.alpha);
    head.MarkupVisible = board.FMarkupVisible;
    head.HasBgImage = board.FHasBgImage;
    if (board.BoardLoaded) {
        // The image is stored as shown, so the file's type says PNG without rotation; a board
        // whose image is missing or will not encode is stored as having none.
        head.Image = board.FHasBgImage ? ImageCodec::encode(board.BackgroundImage, ImageCodec::kPng) : Bytes();
        head.HasBgImage = !head.Image.empty();
        head.ImageType = ImageCodec::kPng;
    }
    const std::vector<PaintObjectPtr> list = objects.objects();
    head.ObjectCount = static_cast<std::int32_t>(list.size());
    Bytes out;
    BoardStream::writeHeadMD(out, head);
    if (board.BoardLoaded) {
        MemoryOutputStream os;
        for (const PaintObjectPtr& object : list) object->SaveToStream(os, true, ImageCodec::kPng);
        const Bytes& bodies = os.data();
        out.insert(out.end(), bodies.begin(), bodies.end());
    }
    return out;
}

bool BoardSnapshot::saveToStream(OutputStream& os, const BoardState& board, const PaintObjectList& objects) {
    const Bytes bytes = fileBytes(board, objects);
    return VCTools::writeToStream(os, bytes.data(), bytes.size());
}

BoardReadResult BoardSnapshot::apply(const TBoardSnapshot& snapshot, BoardState& board, PaintObjectList& objects) {
    TBoardStreamHead head;
    head.Index = snapshot.Index;
    head.PresentationId = snapshot.PresentationId;
    head.SlideNo = snapshot.SlideNo;
    head.BoardLoaded = snapshot.BoardLoaded;
    head.BoardId = snapshot.BoardId;
    head.Title = snapshot.Title;
    head.UserId = snapshot.UserId;
    head.OriginalW = snapshot.OriginalW;
    head.OriginalH = snapshot.OriginalH;
    head.Color[0] = snapshot.BackgroundColor.Red;
    head.Color[1] = snapshot.BackgroundColor.Green;
    head.Color[2] = snapshot.BackgroundColor.Blue;
    head.MarkupVisible = snapshot.MarkupVisible;
    head.HasBgImage = snapshot.HasBgImage;
    head.ImageType = snapshot.ImageType;
    head.Image = snapshot.BackgroundImage;
    std::vector<TBoardStreamObject> entries;
    entries.reserve(snapshot.Objects.size());
    for (const TBoardObjectEntry& e : snapshot.Objects) entries.push_back({e.Header, e.Body});
    Bytes bytes;
    BoardStream::writeSnapshotMD(bytes, std::move(head), entries);
    MemoryInputStream in{std::span<const std::uint8_t>(bytes)};
    return readFromStream(in, true, board, objects);
}

bool BoardSnapshot::apply(const TNewBoard& created, BoardState& board, PaintObjectList& objects) {
    objects.clear();
    board.Index = created.Index;
    board.PresentationId = created.PresentationId;
    board.SlideNo = created.SlideNo;
    board.BoardId.clear();
    board.Title = created.Title;
    board.UserId = created.UserId;
    board.OriginalW = created.Width;
    board.OriginalH = created.Height;
    board.FBackgroundColor = PaintColor::rgb(created.Color.Red / 255.0, created.Color.Green / 255.0,
                                             created.Color.Blue / 255.0);
    board.FMarkupVisible = created.MarkupVisible;
    board.FHasBgImage = created.HasImage;
    board.ImageType = 0;
    board.setBackground(QImage());
    board.BoardLoaded = true;
    objects.setBoardIndex(board.Index);
    if (!created.HasImage) return true;
    return takeBackground(created.Image, created.ImageType, board);
}

}  // namespace veltrin::wb
