// SPDX-License-Identifier: GPL-3.0-or-later
// Puzzles against a plain exhaustive count written here from the rules, and every generated
// puzzle solved again from its numbers alone.
#include "puzzle/puzzle.h"

#include <QTest>

#include <random>

using namespace knight;

namespace {

using Answer = PuzzleCount::Answer;

// The rules plainly: consecutive numbers a knight's move apart, every square once, a given
// number on its square; closed: the last a knight's move from the first.
std::uint64_t countPlainly(const Puzzle &puzzle)
{
    const int count = puzzle.squareCount();
    const auto knightMove = [&](int a, int b) {
        return std::abs(a % puzzle.files - b % puzzle.files) * std::abs(a / puzzle.files - b / puzzle.files) == 2;
    };
    std::uint64_t total = 0;
    std::vector<int> path;
    std::vector<bool> used(std::size_t(count), false);
    const auto extend = [&](auto &self) -> void {
        const int step = int(path.size());
        if (step == count) {
            total += !puzzle.closed || knightMove(path.back(), path.front());
            return;
        }
        for (int n = 0; n < count; ++n) {
            const int given = puzzle.given[std::size_t(n)];
            if (used[std::size_t(n)] || (given != 0 && given != step + 1) || (step > 0 && !knightMove(path.back(), n)))
                continue;
            // A number given elsewhere must stand there.
            if (given == 0 && std::count(puzzle.given.begin(), puzzle.given.end(), step + 1) > 0)
                continue;
            used[std::size_t(n)] = true;
            path.push_back(n);
            self(self);
            path.pop_back();
            used[std::size_t(n)] = false;
        }
    };
    extend(extend);
    return total;
}

Puzzle emptyPuzzle(int files, int ranks, bool closed = false)
{
    Puzzle puzzle;
    puzzle.files = files;
    puzzle.ranks = ranks;
    puzzle.closed = closed;
    puzzle.given.assign(std::size_t(files * ranks), 0);
    return puzzle;
}

// Whether tour is a tour of the puzzle: a knight's move at every step, each square once, every
// given number in its place.
bool solves(const Puzzle &puzzle, const std::vector<int> &tour)
{
    if (int(tour.size()) != puzzle.squareCount())
        return false;
    std::vector<int> numbers(tour.size(), 0);
    for (std::size_t i = 0; i < tour.size(); ++i) {
        const int a = tour[i];
        const int b = tour[(i + 1) % tour.size()];
        const bool move = std::abs(a % puzzle.files - b % puzzle.files) * std::abs(a / puzzle.files - b / puzzle.files) == 2;
        if (numbers[std::size_t(a)] != 0 || (!move && (i + 1 < tour.size() || puzzle.closed)))
            return false;
        numbers[std::size_t(a)] = int(i) + 1;
    }
    for (std::size_t n = 0; n < numbers.size(); ++n) {
        if (puzzle.given[n] != 0 && puzzle.given[n] != numbers[n])
            return false;
    }
    return true;
}

} // namespace

class PuzzleTest : public QObject
{
    Q_OBJECT

private slots:
    // Random numbers on random squares (mostly no solution) and numbers taken from a tour
    // (at least one), open and closed, on 5 x 5 and 6 x 6: the exact count, and the answer up
    // to two.
    void countsAgreeWithExhaustiveSearch_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("fromTour");
        QTest::addColumn<int>("given");
        QTest::newRow("5x5 open, random") << 5 << false << false << 3;
        QTest::newRow("5x5 open, from a tour") << 5 << false << true << 3;
        QTest::newRow("5x5 closed, random") << 5 << true << false << 2;
        QTest::newRow("6x6 open, random") << 6 << false << false << 8;
        QTest::newRow("6x6 open, from a tour") << 6 << false << true << 9;
        QTest::newRow("6x6 closed, from a tour") << 6 << true << true << 9;
    }
    void countsAgreeWithExhaustiveSearch()
    {
        QFETCH(int, side);
        QFETCH(bool, closed);
        QFETCH(bool, fromTour);
        QFETCH(int, given);
        std::mt19937 dice(std::uint32_t(side * 31 + closed * 7 + fromTour));
        std::vector<int> tour;
        if (fromTour)
            tour = generatePuzzle(side, side, Level::Easy, 5, closed)->solution;
        int unique = 0, many = 0, none = 0;
        for (int trial = 0; trial < 12; ++trial) {
            Puzzle puzzle = emptyPuzzle(side, side, closed);
            for (int k = 0; k < given; ++k) {
                const int n = int(dice() % std::uint32_t(side * side));
                puzzle.given[std::size_t(n)] = fromTour ? int(std::find(tour.begin(), tour.end(), n) - tour.begin()) + 1
                                                        : int(dice() % std::uint32_t(side * side)) + 1;
            }
            const std::uint64_t plain = countPlainly(puzzle);
            const PuzzleCount all = countSolutions(puzzle, {}, UINT64_MAX, std::chrono::seconds(60));
            QCOMPARE(all.solutions, plain);
            QCOMPARE(all.answer, plain == 0 ? Answer::None : plain == 1 ? Answer::One : Answer::Many);
            const PuzzleCount two = countSolutions(puzzle);
            QCOMPARE(two.solutions, std::min<std::uint64_t>(plain, 2));
            if (plain > 0)
                QVERIFY(solves(puzzle, two.first));
            (plain == 0 ? none : plain == 1 ? unique : many)++;
        }
        // The trials reach more than one answer where they can.
        QVERIFY(fromTour ? none == 0 && unique + many == 12 : none > 0);
    }

    // Every generated puzzle has exactly one solution, the generator's own tour, found again
    // from its numbers alone; the first and last number stay; the level's share is kept.
    void generatedPuzzlesHaveOneSolution_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("ranks");
        QTest::addColumn<bool>("closed");
        for (const auto &[files, ranks, closed] : std::initializer_list<std::tuple<int, int, bool>>{
                 {3, 4, false}, {3, 7, false}, {4, 5, false}, {5, 5, false}, {6, 6, false},
                 {6, 6, true}, {7, 7, false}, {8, 8, false}, {8, 8, true}})
            QTest::addRow("%dx%d%s", files, ranks, closed ? " closed" : "") << files << ranks << closed;
    }
    void generatedPuzzlesHaveOneSolution()
    {
        QFETCH(int, files);
        QFETCH(int, ranks);
        QFETCH(bool, closed);
        for (const Level level : {Level::Easy, Level::Medium, Level::Hard}) {
            for (std::uint64_t seed = 1; seed <= 3; ++seed) {
                const std::optional<Puzzle> made = generatePuzzle(files, ranks, level, seed, closed);
                QVERIFY(made);
                Puzzle puzzle = *made;
                QVERIFY(solves(puzzle, puzzle.solution));
                QCOMPARE(puzzle.given[std::size_t(puzzle.solution.front())], 1);
                QCOMPARE(puzzle.given[std::size_t(puzzle.solution.back())], puzzle.squareCount());
                QVERIFY(puzzle.givenCount() >= givenTarget(level, puzzle.squareCount()));
                if (files * ranks == 64 && level != Level::Hard)
                    QCOMPARE(puzzle.givenCount(), givenTarget(level, puzzle.squareCount()));
                puzzle.solution.clear();
                const PuzzleCount count = countSolutions(puzzle, {}, 2, std::chrono::seconds(60));
                QCOMPARE(count.answer, Answer::One);
                QCOMPARE(count.first, made->solution);
                // The same seed, the same puzzle.
                QCOMPARE(generatePuzzle(files, ranks, level, seed, closed)->given, made->given);
            }
        }
    }

    // The levels' shares of the board, rounded up: easy a half, medium a third, hard a quarter.
    void levelsLeaveTheirShare()
    {
        QCOMPARE(givenTarget(Level::Easy, 64), 32);
        QCOMPARE(givenTarget(Level::Medium, 64), 22);
        QCOMPARE(givenTarget(Level::Hard, 64), 16);
        QCOMPARE(givenTarget(Level::Medium, 25), 9);
        QCOMPARE(givenTarget(Level::Hard, 25), 7);
        QCOMPARE(givenTarget(Level::Hard, 12), 3);
    }

    void boardsWithoutAClosedTourGiveNone()
    {
        QVERIFY(!generatePuzzle(5, 5, Level::Easy, 1, true));
        QVERIFY(!generatePuzzle(3, 4, Level::Easy, 1, true));
    }

    // A seed printed under a worksheet makes the same puzzles in every later version and on
    // every machine: these were made once and are kept.
    void aSeedKeepsItsPuzzle_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("ranks");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("seed");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<std::vector<int>>("given");
        QTest::newRow("8x8 medium, seed 1")
            << 8 << 8 << int(Level::Medium) << 1 << false
            << std::vector<int>{0,  0,  0, 0,  0,  0,  0,  57, 0, 0, 13, 0, 9,  56, 0, 26, 0, 0, 0, 0, 0,  0,
                                0,  0,  0, 0,  0,  48, 0,  60, 0, 22, 0, 0, 0,  0,  32, 0, 6, 0, 1, 44, 0, 0,
                                53, 64, 21, 38, 0, 17, 0,  0,  0, 0, 0, 5,  45, 0,  35, 0, 0, 4, 0, 20};
        QTest::newRow("6x6 hard closed, seed 2")
            << 6 << 6 << int(Level::Hard) << 2 << true
            << std::vector<int>{0, 0,  0, 2, 23, 0, 0, 1, 24, 0, 28, 0, 0, 0,  0, 36, 0, 0,
                                8, 0, 0, 0, 0,  35, 0, 0, 0,  0, 0,  0, 0, 0, 0, 13, 0, 0};
        QTest::newRow("3x4 easy, seed 3") << 3 << 4 << int(Level::Easy) << 3 << false
                                          << std::vector<int>{8, 0, 0, 11, 0, 7, 0, 9, 0, 0, 12, 1};
    }
    void aSeedKeepsItsPuzzle()
    {
        QFETCH(int, files);
        QFETCH(int, ranks);
        QFETCH(int, level);
        QFETCH(int, seed);
        QFETCH(bool, closed);
        QFETCH(std::vector<int>, given);
        QCOMPARE(generatePuzzle(files, ranks, Level(level), std::uint64_t(seed), closed)->given, given);
    }

    // Seeds make different puzzles, and the levels leave fewer numbers in turn.
    void seedsAndLevelsDiffer()
    {
        const auto given = [](Level level, std::uint64_t seed) { return generatePuzzle(8, 8, level, seed)->given; };
        QVERIFY(given(Level::Medium, 1) != given(Level::Medium, 2));
        const auto count = [&](Level level) { return generatePuzzle(8, 8, level, 4)->givenCount(); };
        QVERIFY(count(Level::Easy) > count(Level::Medium));
        QVERIFY(count(Level::Medium) > count(Level::Hard));
    }

    // A walk already begun: it must agree with the numbers and be a knight's walk; the count
    // is of the tours that go on from it.
    void walksAlreadyBegun()
    {
        const Puzzle puzzle = *generatePuzzle(6, 6, Level::Medium, 9);
        const std::vector<int> &tour = puzzle.solution;
        for (std::size_t length = 0; length <= tour.size(); length += 7) {
            const std::vector<int> begun(tour.begin(), tour.begin() + std::ptrdiff_t(length));
            const PuzzleCount count = countSolutions(puzzle, begun);
            QCOMPARE(count.answer, Answer::One);
            QCOMPARE(count.first, tour);
        }
        const int second = squareOfStep(puzzle, 1) == tour[0] ? tour[1] : -1;
        QVERIFY(second >= 0);
        // Not the square given 1; a square given another number; a square twice; not a move.
        for (const std::vector<int> &wrong : {std::vector<int>{tour[1]}, std::vector<int>{tour[0], tour[35]},
                                              std::vector<int>{tour[0], tour[1], tour[0]},
                                              std::vector<int>{tour[0], tour[2]}}) {
            QCOMPARE(countSolutions(puzzle, wrong).answer, Answer::None);
        }
    }

    void theSquareANumberBelongsTo()
    {
        Puzzle puzzle = emptyPuzzle(5, 5);
        puzzle.given[7] = 3;
        QCOMPARE(squareOfStep(puzzle, 3), 7);
        QCOMPARE(squareOfStep(puzzle, 4), -1);
        QCOMPARE(squareOfStep(puzzle, 0), -1);
        QCOMPARE(conflictOf(puzzle, 3, 7), ClueConflict::None);
        QCOMPARE(conflictOf(puzzle, 2, 7), ClueConflict::SquareHasOtherNumber);
        QCOMPARE(conflictOf(puzzle, 3, 8), ClueConflict::NumberIsElsewhere);
        QCOMPARE(conflictOf(puzzle, 2, 8), ClueConflict::None);
    }

    // The pruning keeps proofs small: a medium 8 x 8 puzzle is proved in a few thousand
    // positions (about 40 R-passes at the dearest of 100), not in the hundreds of thousands a
    // search with fewer looks at the board needs.
    void proofsStaySmall()
    {
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            Puzzle puzzle = *generatePuzzle(8, 8, Level::Medium, seed);
            puzzle.solution.clear();
            const PuzzleCount count = countSolutions(puzzle);
            QCOMPARE(count.answer, Answer::One);
            QVERIFY2(count.nodes < 8000, qPrintable(QString::number(count.nodes)));
        }
    }

    // The bounds end a count undecided, never with a guess.
    void boundsAnswerUndecided()
    {
        Puzzle puzzle = *generatePuzzle(8, 8, Level::Hard, 4);
        const PuzzleCount full = countSolutions(puzzle);
        QCOMPARE(full.answer, Answer::One);
        QVERIFY(full.nodes > 1000);
        const PuzzleCount cut = countSolutions(puzzle, {}, 2, std::chrono::seconds(60), full.nodes / 2);
        QCOMPARE(cut.answer, Answer::Undecided);
        QVERIFY(cut.nodes <= full.nodes / 2 + 1);
        // Counting every tour of the board does not end in time: two found are still many.
        const PuzzleCount timed = countSolutions(emptyPuzzle(8, 8), {}, UINT64_MAX, std::chrono::milliseconds(50));
        QCOMPARE(timed.answer, Answer::Many);
        QVERIFY(timed.solutions >= 2);
        puzzle.given.assign(64, 0);
        puzzle.given[0] = 1;
        puzzle.given[63] = 2; // not a knight's move from a1: no tour, found only by searching
        QCOMPARE(countSolutions(puzzle).answer, Answer::None);
    }
};

QTEST_GUILESS_MAIN(PuzzleTest)
#include "puzzle_test.moc"
