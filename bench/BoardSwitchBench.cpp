// Switching between two big boards as a moderator does it: a real classroom controller in this
// process, joined to the reference server, chooses the other board on its selector; the time runs
// from the choice (which stores the board being left and asks the server for the other one) until
// the answer has been read, the board set holds the new board with all its objects, and the canvas
// has painted it in its shown window. Both boards carry 5,000 objects, 20 of them PNG pictures.
//
// A plain timing loop rather than a Google Benchmark fixture: the controller needs a
// QApplication and a running session around every iteration.
//
// Usage: veltrin_bench_board_switch [switches]   (default 40)

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BoardPictures.h"
#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "classroom/whiteboard/WhiteboardFeature.h"
#include "tests/classroom/FakeShell.h"
#include "tests/support/ServerProcess.h"
#include "whiteboard/TActivePaintBox.h"

using namespace veltrin;
using namespace veltrin::wb;
using veltrin::testing::FakeShell;
using veltrin::testing::ServerProcess;

namespace {

constexpr int kObjects = 5000;
constexpr int kImages = 20;
constexpr int kModeratorUid = 101;
constexpr int kUpdateObject = 158;

constexpr char kRooms[] =
    "account teacher teacher 1000 \"Terry Teacher\" uid=101\n"
    "room 1001 \"Demo Classroom\" mikes=2\n";

using veltrin::bench::picture;

// Counts the canvas's paints that drew a given board with all its objects.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(WhiteboardFeature& feature) : feature_(feature) {}
    std::int32_t target = 0;
    int paintsOfTarget = 0;
    const QElapsedTimer* clock = nullptr;
    double paintStartMs = -1;  // when the first paint of the target began

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The filter runs just before the canvas paints; the paint is over when event processing
        // returns to the waiting loop, which is where the time is taken.
        if (event->type() == QEvent::Paint && target != 0 && shows(target)) {
            if (paintsOfTarget++ == 0 && clock) paintStartMs = static_cast<double>(clock->nsecsElapsed()) / 1e6;
        }
        return QObject::eventFilter(watched, event);
    }

public:
    bool shows(std::int32_t index) const {
        const BoardSet& boards = feature_.boards();
        return feature_.MyBoardIndex() == index && boards.board().Index == index && boards.board().BoardLoaded &&
               boards.objects().size() == static_cast<std::size_t>(kObjects);
    }

private:
    WhiteboardFeature& feature_;
};

// Serves events until `condition` holds; a short timer keeps the loop from sleeping past a
// condition that changed without a further event. Answers false after the timeout.
template <typename Condition>
bool serveUntil(Condition condition, std::chrono::milliseconds timeout) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeout.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

std::size_t updateObjectsFrom(ServerProcess& server, int uid) {
    std::size_t n = 0;
    for (int command : server.commandsFrom(uid))
        if (command == kUpdateObject) ++n;
    return n;
}

// The moderator puts 5,000 objects on the board shown, as pasted text and placed pictures, each
// going to the room as an object update.
void fill(WhiteboardFeature& feature, std::int32_t boardIndex) {
    CanvasInteraction& canvas = feature.canvas()->interaction();
    const int imageEvery = kObjects / kImages;
    for (int k = 0; k < kObjects; ++k) {
        const QPointF at(k * 37 % 1400, k * 53 % 1000);
        if (k % imageEvery == 0)
            canvas.PlaceImageObject(picture(k / imageEvery + boardIndex), at);
        else
            canvas.PasteTextObject(QStringLiteral("Board %1, note %2").arg(boardIndex).arg(k), at, false);
        if (k % 250 == 0) QCoreApplication::processEvents();
    }
    canvas.SetSelectedObject(nullptr);
}

double percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    const double rank = p / 100.0 * static_cast<double>(sorted.size() - 1);
    const auto lo = static_cast<std::size_t>(rank);
    const std::size_t hi = std::min(lo + 1, sorted.size() - 1);
    return sorted[lo] + (sorted[hi] - sorted[lo]) * (rank - static_cast<double>(lo));
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s n=%zu  min %7.2f  median %7.2f  p90 %7.2f  p99 %7.2f  max %7.2f  (ms)\n", what, ms.size(),
                ms.front(), percentile(ms, 50), percentile(ms, 90), percentile(ms, 99), ms.back());
}

int fail(const char* why) {
    std::fprintf(stderr, "board switch benchmark: %s\n", why);
    return 1;
}

int run(int switches) {
    // Wakes the waiting loop every millisecond, for conditions no event reports (the server's trace).
    QTimer heartbeat;
    heartbeat.start(1);
    ServerProcess server;
    if (!server.start(1, {QStringLiteral("--rooms"), veltrin::testing::writeTempFile(QString::fromLatin1(kRooms))}))
        return fail(server.error().toUtf8().constData());

    FakeShell shell;
    SessionParameters& s = shell.session;
    s.Host = QStringLiteral("127.0.0.1");
    s.Port1 = server.port();
    s.Port2 = s.Port3 = veltrin::testing::closedPort();
    s.UserName = s.Password = QStringLiteral("teacher");
    s.RoomID = 1001;
    auto controller = std::make_unique<ClassroomViewController>(shell.context());
    controller->Connect();
    const auto joinWait = std::chrono::seconds(20);
    if (!serveUntil([&] { return controller->isJoined() && controller->whiteboard() && controller->whiteboard()->canvas(); },
                    joinWait))
        return fail("the moderator did not join");
    WhiteboardFeature& feature = *controller->whiteboard();
    TActivePaintBox& canvas = *feature.canvas();
    if (!serveUntil([&] { return !canvas.ReadOnly() && feature.displayCount() > 0 && feature.MyBoardIndex() == 1; },
                    joinWait))
        return fail("board 1 was not shown to the moderator");

    // The whiteboard page in a shown window, so that repaints really happen.
    QWidget* window = canvas.window();
    window->resize(1500, 950);
    window->show();
    if (!serveUntil([&] { return canvas.isVisible(); }, joinWait)) return fail("the canvas is not visible");

    const auto fillWait = std::chrono::seconds(120);
    std::printf("filling board 1 ...\n");
    std::fflush(stdout);
    fill(feature, 1);
    QElapsedTimer poll;
    poll.start();
    auto serverHas = [&](std::size_t n) {
        return serveUntil(
            [&] {
                if (poll.elapsed() < 200) return false;
                poll.restart();
                return updateObjectsFrom(server, kModeratorUid) >= n;
            },
            fillWait);
    };
    if (!serverHas(kObjects)) return fail("the server did not get board 1's objects");

    std::printf("creating and filling board 2 ...\n");
    std::fflush(stdout);
    if (!feature.acWhiteboardCreate({"Second", 1600, 1200, Qt::white, {}})) return fail("board 2 was refused");
    if (!serveUntil([&] { return feature.MyBoardIndex() == 2 && feature.boards().board().BoardLoaded; }, joinWait))
        return fail("board 2 was not shown");
    fill(feature, 2);
    if (!serverHas(2 * kObjects)) return fail("the server did not get board 2's objects");

    PaintWatch watch(feature);
    canvas.installEventFilter(&watch);

    std::vector<double> toBoard;
    std::vector<double> toPaint;
    std::vector<double> heldToPaintStart;
    std::vector<double> paintOnly;
    std::int32_t current = 2;
    const auto switchWait = std::chrono::seconds(30);
    // Two unmeasured switches first: both boards' files exist and every cache is warm.
    for (int i = -2; i < switches; ++i) {
        const std::int32_t target = current == 1 ? 2 : 1;
        watch.target = target;
        watch.paintsOfTarget = 0;
        QElapsedTimer t;
        t.start();
        watch.clock = &t;
        watch.paintStartMs = -1;
        feature.WBComboChanged(target);
        double loadedMs = -1;
        const bool done = serveUntil(
            [&] {
                if (loadedMs < 0 && watch.shows(target)) loadedMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
                return loadedMs >= 0 && watch.paintsOfTarget > 0;
            },
            switchWait);
        const double paintedMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
        if (!done) {
            std::fprintf(stderr, "switch to board %d: shown %d, objects %zu, paints %d\n", target,
                         feature.MyBoardIndex(), feature.boards().objects().size(), watch.paintsOfTarget);
            return fail("a switch did not complete");
        }
        current = target;
        if (i < 0) continue;
        toBoard.push_back(loadedMs);
        toPaint.push_back(paintedMs);
        heldToPaintStart.push_back(watch.paintStartMs - loadedMs);
        paintOnly.push_back(paintedMs - watch.paintStartMs);
    }
    canvas.removeEventFilter(&watch);
    watch.clock = nullptr;

    std::printf("\nSwitching between two boards of %d objects (%d PNG pictures) on the reference server,\n"
                "canvas %dx%d in a shown offscreen window, %d switches:\n",
                kObjects, kImages, canvas.width(), canvas.height(), switches);
    report("choice -> new board held", toBoard);
    report("choice -> new board painted", toPaint);
    report("  of which: held -> paint begins", heldToPaintStart);
    report("  of which: the paint itself", paintOnly);

    controller.reset();
    waitForRetiredLinks(10000);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int switches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    return run(switches);
}
