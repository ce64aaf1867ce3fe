// The canvas on a busy board: a 1600 x 1200 board fitted into a 1280 x 800 view holding 2,000
// freehand strokes of 50 points, 500 shapes and 100 texts (and a board a quarter as full, to show
// which costs grow with the number of objects).
//
// Targets: repainting an unchanged board <= 2 ms; appending one stroke or one remote object <= 1 ms
// whatever the number of objects; a full rebuild <= 1.2 x a bare QPainter loop over the same
// objects; a live stroke segment independent of the number of objects.

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>

#include "whiteboard/TActivePaintBox.h"
#include "wire/PaintObjectHeader.h"

namespace veltrin::wb {
namespace {

constexpr int kViewW = 1280;
constexpr int kViewH = 800;

std::shared_ptr<TPaintObject> makeStroke(std::mt19937& rng, std::int32_t id) {
    std::uniform_real_distribution<double> pos(0, 1550), step(-12, 12);
    auto o = std::make_shared<TPaintObject>(5, id, 1);
    o->FTyp = kPencil;
    o->FPenWidth = 2 + static_cast<int>(rng() % 3);
    o->FColor = PaintColor::rgb((rng() % 256) / 255.0, (rng() % 256) / 255.0, (rng() % 256) / 255.0);
    double x = pos(rng), y = pos(rng) * 0.75;
    for (int i = 0; i < 50; ++i) {
        o->FHandPoints.push_back({x, y});
        x += step(rng);
        y += step(rng);
    }
    o->FX = static_cast<int>(x);
    o->FY = static_cast<int>(y);
    o->FX2 = o->FX + 50;
    o->FY2 = o->FY + 50;
    return o;
}

// A board with `scale` times the full set of objects.
std::shared_ptr<PaintObjectList> busyBoard(double scale) {
    std::mt19937 rng(42);
    auto list = std::make_shared<PaintObjectList>(1);
    std::int32_t id = 0;
    for (int i = 0; i < static_cast<int>(2000 * scale); ++i) list->append(makeStroke(rng, ++id));
    const int kinds[] = {kLine, kRectangle, kOval, kFilledRectangle, kFilledOval, kTriangle, kPentagon, kHexagon,
                         kDiamond, kParallelogram, kTrapezium, kCylinder, kCone};
    for (int i = 0; i < static_cast<int>(500 * scale); ++i) {
        auto o = std::make_shared<TPaintObject>(5, ++id, 1);
        o->FTyp = kinds[i % std::size(kinds)];
        o->FX = static_cast<int>(rng() % 1400);
        o->FY = static_cast<int>(rng() % 1000);
        o->FX2 = o->FX + 20 + static_cast<int>(rng() % 180);
        o->FY2 = o->FY + 20 + static_cast<int>(rng() % 180);
        o->FPenWidth = 2 + i % 3;
        o->FBackColor = PaintColor::yellowColor();
        list->append(o);
    }
    for (int i = 0; i < static_cast<int>(100 * scale); ++i) {
        auto o = std::make_shared<TPaintObject>(5, ++id, 1);
        o->FTyp = kText;
        o->FText = "Whiteboard text " + std::to_string(i);
        o->FFont = VeltrinFont{"Helvetica", 12 + i % 12, false, false, PaintColor::blackColor()};
        o->FX = static_cast<int>(rng() % 1400);
        o->FY = static_cast<int>(rng() % 1100);
        o->FX2 = o->FX + 200;
        o->FY2 = o->FY + 30;
        list->append(o);
    }
    list->raiseCounterPast(id);
    return list;
}

struct Board {
    explicit Board(double scale) : image(kViewW, kViewH, QImage::Format_ARGB32_Premultiplied) {
        canvas.resize(kViewW, kViewH);
        canvas.setBoardSize(1600, 1200);
        canvas.setScaleType(kFitBoard);
        canvas.interaction().setObjectList(busyBoard(scale));
        render();
    }
    void render() { canvas.render(&image); }
    TActivePaintBox canvas;
    QImage image;
};

double scaleOf(const benchmark::State& state) { return state.range(0) == 0 ? 1.0 : 0.25; }
void label(benchmark::State& state, const Board& b) {
    state.counters["objects"] = static_cast<double>(b.canvas.objects().size());
}

void BM_RepaintUnchangedBoard(benchmark::State& state) {
    Board b(scaleOf(state));
    for (auto _ : state) b.render();
    label(state, b);
    state.counters["rebuilds"] = static_cast<double>(b.canvas.renderer().cacheRebuilds());
}

void BM_AppendLocalStrokeAndRepaint(benchmark::State& state) {
    Board b(scaleOf(state));
    std::mt19937 rng(7);
    for (auto _ : state) {
        state.PauseTiming();
        auto stroke = makeStroke(rng, b.canvas.interaction().newObjectId());
        state.ResumeTiming();
        b.canvas.objects().append(stroke);
        b.render();
    }
    label(state, b);
    state.counters["rebuilds"] = static_cast<double>(b.canvas.renderer().cacheRebuilds());
}

void BM_AppendRemoteObjectAndRepaint(benchmark::State& state) {
    Board b(scaleOf(state));
    std::mt19937 rng(9);
    std::int32_t localIndex = 100000;
    for (auto _ : state) {
        state.PauseTiming();
        auto stroke = makeStroke(rng, ++localIndex);
        const Bytes body = stroke->bodyBytes(true, 2);
        TPaintObjectHeader header;
        header.UserId = 9;
        header.BoardIndex = 1;
        header.LocalIndex = localIndex;
        header.ObjectSize = static_cast<std::int32_t>(body.size());
        state.ResumeTiming();
        b.canvas.objects().applyObjectUpdate(header, body);
        b.render();
    }
    label(state, b);
    state.counters["rebuilds"] = static_cast<double>(b.canvas.renderer().cacheRebuilds());
}

// The same objects with QPainter calls and nothing else: the floor a full rebuild is held against.
void bareLoop(QPainter& p, const PaintObjectList& list, double s, double oy) {
    p.fillRect(QRect(0, 0, kViewW, kViewH), QColor(255, 249, 232));
    p.setRenderHint(QPainter::Antialiasing, true);
    list.forEachObject([&](const TPaintObject& o) {
        QPen pen(QColor::fromRgbF(float(o.FColor.red), float(o.FColor.green), float(o.FColor.blue)));
        pen.setWidthF(o.FPenWidth * s);
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRectF r(o.FX * s, oy + o.FY * s, (o.FX2 - o.FX) * s, (o.FY2 - o.FY) * s);
        if (o.FTyp == kPencil) {
            QPainterPath path;
            path.moveTo(o.FHandPoints[0].x * s, oy + o.FHandPoints[0].y * s);
            for (std::size_t i = 1; i < o.FHandPoints.size(); ++i)
                path.lineTo(o.FHandPoints[i].x * s, oy + o.FHandPoints[i].y * s);
            p.strokePath(path, pen);
        } else if (o.FTyp == kText) {
            QFont f(QStringLiteral("Helvetica"));
            f.setPixelSize(std::max(1, static_cast<int>(o.FFont.fontSize * 96 / 72 * s)));
            p.setFont(f);
            p.drawText(r.topLeft() + QPointF(0, p.fontMetrics().ascent()), QString::fromStdString(o.FText));
        } else if (o.FTyp == kOval || o.FTyp == kFilledOval || o.FTyp == kCylinder || o.FTyp == kCone) {
            if (o.FTyp == kFilledOval) p.setBrush(Qt::yellow);
            p.drawEllipse(r);
        } else if (o.FTyp == kLine) {
            p.drawLine(r.topLeft(), r.bottomRight());
        } else {
            if (o.FTyp == kFilledRectangle) p.setBrush(Qt::yellow);
            QPainterPath path;
            path.addPolygon(QPolygonF({r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()}));
            path.closeSubpath();
            p.drawPath(path);
        }
    });
}

void BM_FullRebuildAgainstBareLoop(benchmark::State& state) {
    Board b(scaleOf(state));
    QImage bare(kViewW, kViewH, QImage::Format_ARGB32_Premultiplied);
    const BoardPlacement placement = b.canvas.currentPlacement();
    double rebuildSeconds = 0, bareSeconds = 0;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        b.canvas.renderer().invalidate();
        b.render();
        const auto t1 = Clock::now();
        {
            QPainter p(&bare);
            bareLoop(p, b.canvas.objects(), placement.scaleX, placement.scaledRect.y());
        }
        const auto t2 = Clock::now();
        rebuildSeconds += std::chrono::duration<double>(t1 - t0).count();
        bareSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    label(state, b);
    state.counters["rebuild_ms"] = rebuildSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["bare_ms"] = bareSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio"] = bareSeconds > 0 ? rebuildSeconds / bareSeconds : 0;
}

void sendMouse(QWidget* w, QEvent::Type type, const QPointF& at) {
    QMouseEvent event(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// One drag event of a pencil stroke and the repaint of the piece it dirtied.
void BM_LiveStrokeSegment(benchmark::State& state) {
    Board b(scaleOf(state));
    CanvasInteraction& logic = b.canvas.interaction();
    logic.SetNewShapeType(kPencil);
    logic.SetCanvasMode(kDrawMode);
    QPointF at(100, 100);
    sendMouse(&b.canvas, QEvent::MouseButtonPress, at);
    const auto rebuildsBefore = b.canvas.renderer().cacheRebuilds();
    int n = 0;
    for (auto _ : state) {
        const QPointF next(100 + (n % 1000), 100 + (n / 1000) % 500 + (n % 7));
        sendMouse(&b.canvas, QEvent::MouseMove, next);
        const QRect dirty = QRectF(at, next).normalized().toAlignedRect().adjusted(-4, -4, 4, 4);
        b.canvas.render(&b.image, dirty.topLeft(), QRegion(dirty));
        at = next;
        ++n;
    }
    state.counters["rebuilds_during_drag"] = static_cast<double>(b.canvas.renderer().cacheRebuilds() - rebuildsBefore);
    sendMouse(&b.canvas, QEvent::MouseButtonRelease, at);
    label(state, b);
}

// Argument 0: the full board; 1: a quarter of its objects.
BENCHMARK(BM_RepaintUnchangedBoard)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendLocalStrokeAndRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendRemoteObjectAndRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRebuildAgainstBareLoop)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveStrokeSegment)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltrin::wb

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
