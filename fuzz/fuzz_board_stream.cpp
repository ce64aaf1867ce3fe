// Board snapshots as the server sends them (heads and objects with headers, one after another):
// the reader must survive any bytes, never count past what it was given, and whatever it reads
// whole must write back to the very bytes it came from.
#include "FuzzSupport.h"
#include "wire/BoardStream.h"
#include "wire/VCTools.h"

using namespace veltrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::silenceLog();
    if (size == 0) return 0;
    const std::size_t chunk = data[0] % 7 + 1;
    fuzz::TrickleInputStream in(std::span<const std::uint8_t>(data + 1, size - 1), chunk);
    std::size_t consumed = 0;
    for (int board = 0; board < 64 && consumed < size - 1; ++board) {
        const std::size_t start = consumed;
        TBoardStreamHead head;
        if (BoardStream::readHead(in, head, consumed) != BoardStreamStatus::Complete) break;
        fuzz::check(consumed <= size - 1);
        Bytes again;
        BoardStream::writeHeadMD(again, head);
        fuzz::check(again.size() == consumed - start);
        for (std::int32_t i = 0; head.BoardLoaded && i < head.ObjectCount; ++i) {
            TBoardStreamObject object;
            const std::size_t before = consumed;
            if (BoardStream::readObject(in, object, consumed) != BoardStreamStatus::Complete) return 0;
            fuzz::check(consumed - before ==
                        TPaintObjectHeader::kSize + (object.Header.ObjectSize > 0 ? object.Body.size() : 0));
            fuzz::check(consumed <= size - 1);
        }
    }
    return 0;
}
