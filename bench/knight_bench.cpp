// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the program's operations, each with the repaint it causes, offscreen (start-up is
// knight-start's, against knight-bare).
//
//   knight-bench op NAME [RUNS]       prints the median wall time of NAME in nanoseconds; under
//                                     callgrind only the operations themselves are counted
//   knight-bench solver [BOUND_MS]    decides a seeded corpus of 10,000 partial walks; prints the
//                                     answers and wall times; under callgrind each verdict is
//                                     counted alone (one dump each); the seeded corpus, then
//                                     the hard positions kept in bench/hard_positions.txt
//   knight-bench solver-closed [BOUND_MS]  the same, aiming at closed tours
//   knight-bench puzzles [SEEDS]      makes one 8 x 8 puzzle of medium level for each seed and
//                                     proves it again from its numbers; prints the wall times;
//                                     under callgrind each proof is counted alone (one dump each)
//   knight-bench worksheet [COUNT]    makes a worksheet of COUNT hard 8 x 8 puzzles with its
//                                     key, as a PDF in memory; prints the wall time
//   knight-bench hunt [CANDIDATES]    hill-climbs on the positions the solver searches, for
//                                     both goals, and prints the kept and the hardest new
//                                     positions with their symmetries, for that file
#include "app/form/command_button.h"
#include "app/features/form_zoom.h"
#include "app/form/mainwindow.h"
#include "app/projector/projector.h"
#include "app/projector/projector_window.h"
#include "app/form/square_label.h"
#include "app/features/task_play.h"
#include "app/features/walk_autosave.h"
#include "language/language.h"

#include "puzzle/puzzle.h"
#include "solver/tour_solver.h"
#include "worksheet/worksheet.h"
#include "first_paint.h"
#include "solver_corpus.h"
#include "tours/catalogue.h"
#include "tours/found_tour.h"

#include <QApplication>
#include <QRadioButton>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <random>
#include <functional>
#include <map>
#include <vector>

#ifdef KNIGHT_HAVE_CALLGRIND
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT do { } while (false)
#define CALLGRIND_DUMP_STATS do { } while (false)
#endif

using namespace knight;

namespace {

// Counts square repaints, to show that the operations really paint.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        count += event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
};

// Every event the operation caused is handled, and what it left to repaint is painted now,
// not when the platform's next frame would come; in the projector view too, when it is on.
void settle(MainWindow &window)
{
    QCoreApplication::sendPostedEvents();
    QEvent updateRequest(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &updateRequest);
    if (window.projector()->isOn())
        QCoreApplication::sendEvent(window.projector()->view(), &updateRequest);
}

struct Bench {
    MainWindow window;
    QStringList tour = tourInStepOrder(0); // the classical tour, a1 first
    // The walk kept after every change, as the program keeps it.
    QTemporaryDir kept;
    Bench() { window.autosave()->useFolder(kept.path()); }

    // The class's results in a folder of the benchmark's, not the user's.
    QTemporaryDir results;

    void click(int n) { QTest::mouseClick(window.square(n), Qt::LeftButton); }
    void clickName(const QString &name) { click(squareNamed(name)); }
    void press(int button) { QTest::mouseClick(window.command(button), Qt::LeftButton); }
    void walk(int moves)
    {
        press(2);
        for (int i = 0; i < moves; ++i)
            clickName(tour[i]);
    }

    // The projector view on a screen of 1920 x 1080.
    void projectorOn()
    {
        window.projector()->setOn(true);
        ProjectorWindow *view = window.projector()->view();
        view->showNormal();
        view->resize(1920, 1080);
        if (!QTest::qWaitForWindowExposed(view))
            std::fprintf(stderr, "the projector view was never exposed\n");
    }

    // The first tour shown and galloped twenty steps.
    void gallopTwentySteps()
    {
        press(2);
        press(0);
        press(1);
        for (int i = 0; i < 20; ++i)
            window.Timer1_Timer();
    }

    // A board of 64 numbers whose colours all change at once: the most one event can repaint.
    void repaintAllSquares()
    {
        const QColor reachable(reachableColor.red, reachableColor.green, reachableColor.blue);
        for (int n = 0; n < squareCount; ++n) {
            Square square = window.form().board().square(n);
            square.backColor = window.square(n)->backColor() == reachable ? visitedColor : reachableColor;
            window.square(n)->showSquare(square);
        }
    }
};

struct Operation {
    std::function<void(Bench &)> prepare; // not measured
    std::function<void(Bench &)> run;     // measured, with its repaint
};

const std::map<std::string, Operation> operations{
    {"R-pass", {[](Bench &b) { b.press(2); b.press(0); }, [](Bench &b) { b.repaintAllSquares(); }}},
    {"accepted-click", {[](Bench &b) { b.walk(31); }, [](Bench &b) { b.clickName(b.tour[31]); }}},
    {"ignored-click", {[](Bench &b) { b.walk(31); }, [](Bench &b) { b.clickName(b.tour[5]); }}},
    {"move-back-63", {[](Bench &b) { b.walk(63); }, [](Bench &b) { b.press(3); }}},
    {"clear-after-tour", {[](Bench &b) { b.walk(64); }, [](Bench &b) { b.press(2); }}},
    {"show", {[](Bench &b) { b.walk(20); }, [](Bench &b) { b.press(0); }}},
    {"gallop-start", {[](Bench &b) { b.press(2); b.press(0); }, [](Bench &b) { b.press(1); }}},
    {"gallop-tick",
     {[](Bench &b) { b.gallopTwentySteps(); },
      [](Bench &b) { b.window.Timer1_Timer(); }}},
    // The classroom: a zoom step with its new layout and repaint, and the reference and a
    // gallop tick at 300 per cent.
    {"zoom-change", {[](Bench &b) { b.walk(20); b.window.zoom()->zoomNormal(); },
                     [](Bench &b) { b.window.zoom()->setPercent(150); }}},
    // Its floor: the window at 150 per cent painted whole again, with nothing laid out anew.
    {"repaint-150", {[](Bench &b) { b.walk(20); b.window.zoom()->setPercent(150); },
                     [](Bench &b) {
                         b.window.update();
                         for (QWidget *widget : b.window.findChildren<QWidget *>())
                             widget->update();
                     }}},
    {"R-pass-300", {[](Bench &b) { b.window.zoom()->setPercent(300); b.press(2); b.press(0); },
                    [](Bench &b) { b.repaintAllSquares(); }}},
    {"gallop-tick-300",
     {[](Bench &b) {
          b.window.zoom()->setPercent(300);
          b.gallopTwentySteps();
      },
      [](Bench &b) { b.window.Timer1_Timer(); }}},
    // The projector view at 1920 x 1080: all of it painted again, and a gallop tick in it.
    {"projector-repaint", {[](Bench &b) { b.projectorOn(); b.walk(20); },
                           [](Bench &b) { b.window.projector()->view()->repaint(); }}},
    {"projector-tick",
     {[](Bench &b) {
          b.projectorOn();
          b.gallopTwentySteps();
      },
      [](Bench &b) { b.window.Timer1_Timer(); }}},
    // The last move of the first task: the tour recognised, stored in the class's results and
    // celebrated.
    {"task-solved", {[](Bench &b) {
                         if (!b.window.tasks()->store().path().startsWith(b.results.path()))
                             b.window.tasks()->useStore(std::make_unique<ResultsStore>(b.results.filePath(QStringLiteral("results.sqlite"))));
                         b.window.tasks()->start(0);
                         for (const QString &name : QStringList{"a1", "b3", "c1", "a2", "b4", "c2", "a3", "c4", "b2", "a4", "c3"})
                             b.clickName(name);
                     },
                     [](Bench &b) { b.clickName(QStringLiteral("b1")); }}},
    // Ten of the thirteen kinds have a one-line description, like "4"; "2" has the longest.
    {"option", {[](Bench &b) { b.walk(20); }, [](Bench &b) {
                    QTest::mouseClick(b.window.option(3), Qt::LeftButton);
                }}},
    {"option-long", {[](Bench &b) { b.walk(20); }, [](Bench &b) {
                         QTest::mouseClick(b.window.option(1), Qt::LeftButton);
                     }}},
};

int measure(const std::string &name, int runs)
{
    const auto found = operations.find(name);
    if (found == operations.end()) {
        std::fprintf(stderr, "no operation %s\n", name.c_str());
        return 2;
    }
    const Operation &operation = found->second;
    Bench bench;
    bench.window.show();
    if (!QTest::qWaitForWindowExposed(&bench.window)) {
        std::fprintf(stderr, "the window was never exposed\n");
        return 1;
    }
    PaintCounter paints;
    for (int n = 0; n < squareCount; ++n)
        bench.window.square(n)->installEventFilter(&paints);
    settle(bench.window);

    std::vector<qint64> times;
    int measuredPaints = 0;
    for (int i = -3; i < runs; ++i) { // three warm-up runs
        operation.prepare(bench);
        settle(bench.window);
        const int paintsBefore = paints.count;
        QElapsedTimer clock;
        if (i >= 0)
            CALLGRIND_TOGGLE_COLLECT;
        clock.start();
        operation.run(bench);
        settle(bench.window);
        const qint64 elapsed = clock.nsecsElapsed();
        if (i >= 0) {
            CALLGRIND_TOGGLE_COLLECT;
            times.push_back(elapsed);
            measuredPaints += paints.count - paintsBefore;
        }
    }
    std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
    std::printf("runs=%d median_ns=%lld square_paints_per_run=%.1f\n", runs, times[times.size() / 2],
                double(measuredPaints) / runs);
    return 0;
}

// The seeded corpus, then the hard positions kept in the repository; one line of answers each.
int measureSolver(int boundMs, TourSolver::Goal goal)
{
    TourSolver solver;
    const std::vector<std::pair<const char *, std::vector<bench::Walk>>> corpora{
        {"seeded", bench::seededCorpus(solver)},
        {"hard", bench::readCorpus(KNIGHT_SOURCE_DIR "/bench/hard_positions.txt")},
    };
    for (const auto &[name, corpus] : corpora) {
        std::array<int, 3> answers{};
        std::vector<qint64> times;
        for (const std::vector<int> &walk : corpus) {
            QElapsedTimer clock;
            CALLGRIND_TOGGLE_COLLECT;
            clock.start();
            const TourSolver::Verdict verdict = solver.solve(walk, std::chrono::milliseconds(boundMs), goal);
            const qint64 elapsed = clock.nsecsElapsed();
            CALLGRIND_TOGGLE_COLLECT;
            CALLGRIND_DUMP_STATS;
            ++answers[std::size_t(verdict.answer)];
            times.push_back(elapsed);
        }
        std::sort(times.begin(), times.end());
        std::printf("%s positions=%zu yes=%d no=%d undecided=%d median_ns=%lld p99_ns=%lld max_ns=%lld\n", name,
                    corpus.size(), answers[0], answers[1], answers[2], times[times.size() / 2],
                    times[times.size() * 99 / 100], times.back());
    }
    return 0;
}

// On every board offered but 8 x 8 (the corpora above cover it): the verdict or hint on 200
// seeded random walks, the verdict before a move (a search from each square, as the window
// makes it), and the tour "Покажи" finds from each square. Each counted alone under callgrind.
int measureBoards()
{
    std::mt19937 random(20261210);
    int items = 0;
    const auto counted = [&items](const std::function<void()> &work) {
        CALLGRIND_TOGGLE_COLLECT;
        work();
        CALLGRIND_TOGGLE_COLLECT;
        CALLGRIND_DUMP_STATS;
        ++items;
    };
    for (const BoardShape shape : offeredShapes) {
        if (shape == BoardShape{})
            continue;
        TourSolver solver(shape.files, shape.ranks);
        for (int i = 0; i < 200; ++i) {
            // A random walk of random length: knight's moves to free squares while there are any.
            std::vector<int> walk{int(random() % unsigned(shape.count()))};
            const int length = 1 + int(random() % unsigned(shape.count()));
            while (int(walk.size()) < length) {
                std::vector<int> free;
                for (int s = 0; s < shape.count(); ++s) {
                    if ((solver.knightTargets(walk.back()) >> s & 1) && std::find(walk.begin(), walk.end(), s) == walk.end())
                        free.push_back(s);
                }
                if (free.empty())
                    break;
                walk.push_back(free[random() % free.size()]);
            }
            counted([&] { solver.solve(walk); });
        }
        counted([&] {
            for (int s = 0; s < shape.count(); ++s)
                solver.solve({s});
        });
        for (int n = 0; n < squareCount; ++n) {
            if (shape.contains(n))
                counted([&] { foundTourItems(shape, n); });
        }
    }
    std::printf("items=%d\n", items);
    return 0;
}

qint64 percentile99(std::vector<qint64> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() * 99 / 100];
}

// Generating a puzzle, and proving a generated one from its numbers alone.
int measurePuzzles(int seeds)
{
    std::vector<qint64> making;
    std::vector<qint64> proving;
    std::uint64_t mostWork = 0;
    for (int seed = 1; seed <= seeds; ++seed) {
        QElapsedTimer clock;
        clock.start();
        std::optional<Puzzle> puzzle = generatePuzzle(8, 8, Level::Medium, std::uint64_t(seed));
        making.push_back(clock.nsecsElapsed());
        if (!puzzle)
            return 1;
        puzzle->solution.clear();
        CALLGRIND_TOGGLE_COLLECT;
        clock.start();
        const PuzzleCount count = countSolutions(*puzzle);
        const qint64 elapsed = clock.nsecsElapsed();
        CALLGRIND_TOGGLE_COLLECT;
        CALLGRIND_DUMP_STATS;
        if (count.answer != PuzzleCount::Answer::One)
            return 1;
        proving.push_back(elapsed);
        mostWork = std::max(mostWork, count.nodes);
    }
    std::printf("seeds=%d generate_p99_ms=%.1f generate_max_ms=%.1f prove_p99_us=%.1f most_positions=%llu\n", seeds,
                percentile99(making) / 1e6, *std::max_element(making.begin(), making.end()) / 1e6,
                percentile99(proving) / 1e3, static_cast<unsigned long long>(mostWork));
    return 0;
}

int measureWorksheet(int count)
{
    QElapsedTimer clock;
    clock.start();
    const WorksheetRequest request{8, 8, Level::Hard, count, 1, false};
    const std::vector<Puzzle> puzzles = worksheetPuzzles(request);
    const QFont font(QStringLiteral("Times New Roman"));
    const QByteArray pdf = worksheetPdf(request, puzzles, font, QPageSize(QPageSize::A4))
                         + worksheetKeyPdf(request, puzzles, font, QPageSize(QPageSize::A4));
    std::printf("puzzles=%zu pages=%zu bytes=%lld wall_ms=%.0f\n", puzzles.size(), puzzles.size() + (puzzles.size() + 5) / 6,
                static_cast<long long>(pdf.size()), clock.nsecsElapsed() / 1e6);
    return puzzles.size() == std::size_t(count) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::useMeasuredScreen();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 2 && args[1] == u"hunt") {
        bench::huntHardPositions(args.size() >= 3 ? args[2].toInt() : 100000,
                                 KNIGHT_SOURCE_DIR "/bench/hard_positions.txt", stdout);
        return 0;
    }
    if (args.size() >= 2 && (args[1] == u"solver" || args[1] == u"solver-closed"))
        return measureSolver(args.size() >= 3 ? args[2].toInt() : 300,
                             args[1] == u"solver" ? TourSolver::Goal::Open : TourSolver::Goal::Closed);
    if (args.size() >= 2 && args[1] == u"boards")
        return measureBoards();
    if (args.size() >= 2 && args[1] == u"puzzles")
        return measurePuzzles(args.size() >= 3 ? args[2].toInt() : 100);
    if (args.size() >= 2 && args[1] == u"worksheet")
        return measureWorksheet(args.size() >= 3 ? args[2].toInt() : 30);
    if (args.size() >= 3 && args[1] == u"op")
        return measure(args[2].toStdString(), args.size() >= 4 ? args[3].toInt() : 101);
    std::fprintf(stderr, "usage: knight-bench op NAME [RUNS] | solver | solver-closed | boards | puzzles | worksheet | hunt\n");
    return 2;
}
