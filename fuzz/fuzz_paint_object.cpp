// An object update as command 158 carries it: the 21-byte header, then the body read into a new
// object and into one that already holds an image. Both readers must survive any bytes, and a body
// read whole must encode to a body that reads back whole, to its last byte.
#include "FuzzSupport.h"
#include "whiteboard/TPaintObject.h"
#include "wire/PaintObjectHeader.h"

using namespace veltrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::silenceLog();
    MemoryInputStream in{std::span<const std::uint8_t>(data, size)};
    TPaintObjectHeader header;
    header.readFromStream(in);
    if (size < static_cast<std::size_t>(TPaintObjectHeader::kSize)) return 0;
    Bytes again;
    header.writeToMD(again);
    fuzz::check(again.size() == static_cast<std::size_t>(TPaintObjectHeader::kSize));

    wb::TPaintObject object(header.UserId, header.LocalIndex, header.BoardIndex);
    object.FObjectImage = QImage(2, 2, QImage::Format_RGB32);
    if (!object.LoadFromStream(in)) return 0;
    const Bytes body = object.bodyBytes(true, 2);
    MemoryInputStream back{std::span<const std::uint8_t>(body)};
    wb::TPaintObject copy;
    fuzz::check(copy.LoadFromStream(back));
    fuzz::check(back.position() == body.size());
    fuzz::check(copy.FTyp == object.FTyp && copy.FHandPoints.size() == object.FHandPoints.size());
    return 0;
}
