#include "wire/BoardStream.h"

#include "wire/VCTools.h"

namespace veltrin {

namespace {

// A sized block whose size came from the wire: nothing for sizes below 1, refused above `limit`.
BoardStreamStatus readBlock(InputStream& is, std::size_t limit, Bytes& out, std::size_t& consumed) {
    out.clear();
    const std::int32_t size = VCTools::readInt(is);
    if (!VCTools::checkIS(is)) return BoardStreamStatus::Truncated;
    consumed += 4;
    if (size < 1) return BoardStreamStatus::Complete;
    if (static_cast<std::size_t>(size) > limit) {
        is.markUnusable();
        return BoardStreamStatus::Invalid;
    }
    const ReadStatus status = VCTools::readPayload(is, static_cast<std::uint64_t>(size), out, limit);
    if (status != ReadStatus::Complete) return BoardStreamStatus::Truncated;
    consumed += static_cast<std::size_t>(size);
    return BoardStreamStatus::Complete;
}

BoardStreamStatus readText(InputStream& is, std::string& text, std::size_t& consumed) {
    Bytes bytes;
    const BoardStreamStatus status = readBlock(is, BoardStream::kMaxTextBytes, bytes, consumed);
    text.assign(bytes.begin(), bytes.end());
    return status;
}

// Reads fixed-size fields as a group: they count only if all of them arrived.
bool counted(InputStream& is, std::size_t size, std::size_t& consumed) {
    if (!VCTools::checkIS(is)) return false;
    consumed += size;
    return true;
}

void writeText(Bytes& md, const std::string& text) {
    VCTools::writeIntMD(md, static_cast<std::int32_t>(text.size()));
    md.insert(md.end(), text.begin(), text.end());
}

}  // namespace

void BoardStream::writeHeadMD(Bytes& md, const TBoardStreamHead& head) {
    VCTools::writeIntMD(md, head.Index);
    VCTools::writeIntMD(md, head.PresentationId);
    VCTools::writeIntMD(md, head.SlideNo);
    VCTools::writeBooleanMD(md, !head.BoardLoaded);
    writeText(md, head.BoardId);
    writeText(md, head.Title);
    VCTools::writeIntMD(md, head.UserId);
    VCTools::writeIntMD(md, head.OriginalW);
    VCTools::writeIntMD(md, head.OriginalH);
    for (std::uint8_t c : head.Color) VCTools::writeByteMD(md, c);
    VCTools::writeBooleanMD(md, head.MarkupVisible);
    VCTools::writeBooleanMD(md, head.HasBgImage);
    if (head.imageBlockFollows()) {
        VCTools::writeIntMD(md, head.ImageType);
        VCTools::writeIntMD(md, static_cast<std::int32_t>(head.Image.size()));
        md.insert(md.end(), head.Image.begin(), head.Image.end());
    }
    VCTools::writeIntMD(md, head.ObjectCount);
}

void BoardStream::writeSnapshotMD(Bytes& md, TBoardStreamHead head, std::span<const TBoardStreamObject> objects) {
    head.ObjectCount = static_cast<std::int32_t>(objects.size());
    writeHeadMD(md, head);
    if (!head.BoardLoaded) return;
    for (const TBoardStreamObject& o : objects) {
        TPaintObjectHeader h = o.Header;
        h.ObjectSize = static_cast<std::int32_t>(o.Body.size());
        h.writeToMD(md);
        md.insert(md.end(), o.Body.begin(), o.Body.end());
    }
}

BoardStreamStatus BoardStream::readHead(InputStream& is, TBoardStreamHead& head, std::size_t& consumed) {
    head = TBoardStreamHead();
    head.Index = VCTools::readInt(is);
    head.PresentationId = VCTools::readInt(is);
    head.SlideNo = VCTools::readInt(is);
    head.BoardLoaded = !VCTools::readBoolean(is);
    if (!counted(is, 13, consumed)) return BoardStreamStatus::Truncated;
    for (std::string* text : {&head.BoardId, &head.Title}) {
        const BoardStreamStatus status = readText(is, *text, consumed);
        if (status != BoardStreamStatus::Complete) return status;
    }
    head.UserId = VCTools::readInt(is);
    head.OriginalW = VCTools::readInt(is);
    head.OriginalH = VCTools::readInt(is);
    for (std::uint8_t& c : head.Color) c = VCTools::readByte(is);
    head.MarkupVisible = VCTools::readBoolean(is);
    head.HasBgImage = VCTools::readBoolean(is);
    if (!counted(is, 18, consumed)) return BoardStreamStatus::Truncated;
    if (head.imageBlockFollows()) {
        head.ImageType = VCTools::readInt(is);
        if (!counted(is, 4, consumed)) return BoardStreamStatus::Truncated;
        const BoardStreamStatus status = readBlock(is, kMaxBlockBytes, head.Image, consumed);
        if (status != BoardStreamStatus::Complete) return status;
    }
    head.ObjectCount = VCTools::readInt(is);
    if (!counted(is, 4, consumed)) return BoardStreamStatus::Truncated;
    return BoardStreamStatus::Complete;
}

BoardStreamStatus BoardStream::readObject(InputStream& is, TBoardStreamObject& object, std::size_t& consumed) {
    object = TBoardStreamObject();
    object.Header.readFromStream(is);
    if (!counted(is, TPaintObjectHeader::kSize, consumed)) return BoardStreamStatus::Truncated;
    const std::int32_t size = object.Header.ObjectSize;
    if (size < 1) return BoardStreamStatus::Complete;
    if (static_cast<std::size_t>(size) > kMaxBlockBytes) {
        is.markUnusable();
        return BoardStreamStatus::Invalid;
    }
    if (VCTools::readPayload(is, static_cast<std::uint64_t>(size), object.Body, kMaxBlockBytes) !=
        ReadStatus::Complete) {
        return BoardStreamStatus::Truncated;
    }
    consumed += static_cast<std::size_t>(size);
    return BoardStreamStatus::Complete;
}

}  // namespace veltrin
