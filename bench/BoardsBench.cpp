// A big board: reading its snapshot as the server sends it (5,000 objects, 20 of them pictures
// with PNG images) and writing it as a board file. Bytes per object are reported as counters.
#include <benchmark/benchmark.h>

#include <QPainter>

#include "BoardPictures.h"
#include "whiteboard/ImageCodec.h"
#include "whiteboard/boards/BoardSnapshot.h"

using namespace veltrin;
using namespace veltrin::wb;

namespace {

constexpr int kObjects = 5000;
constexpr int kImages = 20;

using veltrin::bench::picture;

TPaintObject makeObject(int k) {
    TPaintObject o(100 + k % 7, k + 1, 2);
    o.FX = k % 900;
    o.FY = k % 700;
    o.FX2 = o.FX + 80;
    o.FY2 = o.FY + 40;
    if (k % (kObjects / kImages) == 0) {
        o.FTyp = kImage;
        o.FObjectImage = picture(k);
    } else if (k % 3 == 0) {
        o.FTyp = kPencil;
        for (int i = 0; i < 40; ++i) o.FHandPoints.push_back({o.FX + i * 2.0, o.FY + (i % 5) * 3.0});
    } else if (k % 3 == 1) {
        o.FTyp = kText;
        o.FText = "Note " + std::to_string(k);
        o.FFont.fontName = "Helvetica";
        o.FFont.fontSize = 14;
    } else {
        o.FTyp = kFilledRectangle;
    }
    return o;
}

const Bytes& snapshot() {
    static const Bytes bytes = [] {
        TBoardStreamHead head;
        head.Index = 2;
        head.Title = "Benchmark";
        head.OriginalW = 1024;
        head.OriginalH = 768;
        std::vector<TBoardStreamObject> entries;
        for (int k = 0; k < kObjects; ++k) {
            const TPaintObject o = makeObject(k);
            TBoardStreamObject e;
            e.Body = o.bodyBytes(true, ImageCodec::kPng);
            e.Header = o.header(TPaintObjectHeader::kNewObject, static_cast<std::int32_t>(e.Body.size()));
            entries.push_back(std::move(e));
        }
        Bytes out;
        BoardStream::writeSnapshotMD(out, head, entries);
        return out;
    }();
    return bytes;
}

void BM_ReadSnapshot(benchmark::State& state) {
    const Bytes& bytes = snapshot();
    for (auto _ : state) {
        BoardState board;
        PaintObjectList objects;
        MemoryInputStream in{std::span<const std::uint8_t>(bytes)};
        const BoardReadResult r = BoardSnapshot::readFromStream(in, true, board, objects);
        if (!r.complete() || objects.size() != kObjects) state.SkipWithError("snapshot did not read whole");
        benchmark::DoNotOptimize(r);
    }
    state.counters["bytes_per_object"] = static_cast<double>(bytes.size()) / kObjects;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadSnapshot)->Unit(benchmark::kMillisecond);

void BM_WriteBoardFile(benchmark::State& state) {
    BoardState board;
    PaintObjectList objects;
    MemoryInputStream in{std::span<const std::uint8_t>(snapshot())};
    BoardSnapshot::readFromStream(in, true, board, objects);
    std::size_t size = 0;
    for (auto _ : state) {
        const Bytes file = BoardSnapshot::fileBytes(board, objects);
        size = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["bytes_per_object"] = static_cast<double>(size) / kObjects;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_WriteBoardFile)->Unit(benchmark::kMillisecond);

}  // namespace
