// The client's snapshot reader, into a board and its object list, with and without headers (the
// first byte picks): it must survive any bytes, undecodable images included, and never count past
// what it was given.
#include "FuzzSupport.h"
#include "whiteboard/boards/BoardSnapshot.h"

using namespace veltrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::silenceLog();
    if (size == 0) return 0;
    const bool headers = data[0] & 1;
    MemoryInputStream in{std::span<const std::uint8_t>(data + 1, size - 1)};
    wb::BoardState board;
    wb::PaintObjectList objects;
    const wb::BoardReadResult result = wb::BoardSnapshot::readFromStream(in, headers, board, objects);
    fuzz::check(result.consumed <= size - 1);
    fuzz::check(objects.size() == result.objectsRead || headers);
    // What was read must be writable as a board file and read back without loss of objects.
    const Bytes file = wb::BoardSnapshot::fileBytes(board, objects);
    MemoryInputStream again{std::span<const std::uint8_t>(file)};
    wb::BoardState board2;
    wb::PaintObjectList objects2;
    const wb::BoardReadResult back = wb::BoardSnapshot::readFromStream(again, false, board2, objects2);
    fuzz::check(!board.BoardLoaded || objects2.size() == objects.size());
    fuzz::check(back.complete() || !board.BoardLoaded);
    return 0;
}
