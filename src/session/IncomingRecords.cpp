#include "session/IncomingRecords.h"

#include <algorithm>
#include <limits>

#include "wire/VCTools.h"

namespace veltrin {

namespace {

// A byte block whose length came from the wire. Negative lengths read nothing; the bytes are
// taken as they arrive, so a claimed length costs nothing beyond what the payload holds.
Bytes readBlock(InputStream& is, std::int32_t length) {
    Bytes out;
    if (length > 0) {
        VCTools::readPayload(is, static_cast<std::uint64_t>(length), out,
                             std::numeric_limits<std::size_t>::max());
    }
    return out;
}

}  // namespace

// ---- colour

void TWireColor::readFromStream(InputStream& is) {
    Red = VCTools::readByte(is);
    Green = VCTools::readByte(is);
    Blue = VCTools::readByte(is);
    VCTools::readByte(is);
}

void TWireColor::writeToMD(Bytes& md) const {
    VCTools::writeByteMD(md, Red);
    VCTools::writeByteMD(md, Green);
    VCTools::writeByteMD(md, Blue);
    VCTools::writeByteMD(md, 0);
}

// ---- board snapshot

void TBoardSnapshot::readFromStream(MemoryInputStream& is) {
    *this = TBoardSnapshot();
    const std::size_t start = is.position();

    Index = VCTools::readInt(is);
    PresentationId = VCTools::readInt(is);
    SlideNo = VCTools::readInt(is);
    BoardLoaded = !VCTools::readBoolean(is);
    BoardId = VCTools::readStringIntSize(is);
    Title = VCTools::readStringIntSize(is);
    UserId = VCTools::readInt(is);
    OriginalW = VCTools::readInt(is);
    OriginalH = VCTools::readInt(is);
    BackgroundColor.readFromStream(is);
    MarkupVisible = VCTools::readBoolean(is);
    HasBgImage = VCTools::readBoolean(is);
    if (BoardLoaded && HasBgImage) {
        ImageType = VCTools::readInt(is);
        BackgroundImage = readBlock(is, VCTools::readInt(is));
    }
    ObjectCount = VCTools::readInt(is);
    if (BoardLoaded) {
        // The count is the peer's claim: entries are only made for headers that actually arrived.
        constexpr auto kHeaderSize = static_cast<std::size_t>(TPaintObjectHeader::kSize);
        for (std::int32_t i = 0; i < ObjectCount && is.buffered() >= kHeaderSize; ++i) {
            TBoardObjectEntry entry;
            entry.Header.readFromStream(is);
            entry.Body = readBlock(is, entry.Header.ObjectSize);
            Objects.push_back(std::move(entry));
        }
    }

    ConsumedBytes = is.position() - start;
    const auto announced = static_cast<std::size_t>(std::max(ObjectCount, 0));
    Complete = VCTools::checkIS(is) && (!BoardLoaded || Objects.size() == announced);
}

// ---- new board

void TNewBoard::readFromStream(InputStream& is) {
    *this = TNewBoard();
    Index = VCTools::readInt(is);
    PresentationId = VCTools::readInt(is);
    SlideNo = VCTools::readInt(is);
    Width = VCTools::readInt(is);
    Height = VCTools::readInt(is);
    Color.readFromStream(is);
    MarkupVisible = VCTools::readBoolean(is);
    Title = VCTools::readUTF16LEIntString(is);
    UserId = VCTools::readInt(is);
    HasImage = VCTools::readBoolean(is);
    if (HasImage) {
        ImageType = VCTools::readInt(is);
        Image = readBlock(is, VCTools::readInt(is));
    }
}

}  // namespace veltrin
