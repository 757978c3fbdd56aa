// SPDX-License-Identifier: GPL-3.0-or-later
// The solver against a plain exhaustive search written here from the rules, on small boards,
// and its continuations and reasons on the real one.
#include "solver/tour_solver.h"
#include "solver/verdict_text.h"

#include <QRandomGenerator>
#include <QTest>

#include <unordered_map>

using namespace knight;
using namespace Qt::StringLiterals;

namespace {

using Answer = TourSolver::Answer;
using Reason = TourSolver::Reason;

// The rules on a files x ranks board, plainly: a knight's move changes one coordinate by one
// and the other by two.
struct SmallBoard {
    int files;
    int ranks;

    int count() const { return files * ranks; }
    bool knightMove(int a, int b) const
    {
        const int df = std::abs(a % files - b % files);
        const int dr = std::abs(a / files - b / files);
        return df * dr == 2;
    }

    // Directed tours from every start, counted square by square.
    long long countTours() const
    {
        long long total = 0;
        std::vector<bool> visited(std::size_t(count()), false);
        const auto extend = [&](auto &self, int current, int depth) -> void {
            if (depth == count()) {
                ++total;
                return;
            }
            for (int next = 0; next < count(); ++next) {
                if (!visited[std::size_t(next)] && knightMove(current, next)) {
                    visited[std::size_t(next)] = true;
                    self(self, next, depth + 1);
                    visited[std::size_t(next)] = false;
                }
            }
        };
        for (int start = 0; start < count(); ++start) {
            visited[std::size_t(start)] = true;
            extend(extend, start, 1);
            visited[std::size_t(start)] = false;
        }
        return total;
    }

    // Whether the walk can be finished: every move tried, every position's answer remembered
    // (it does not depend on the walk that led there).
    mutable std::unordered_map<std::uint64_t, bool> memo;

    bool canFinish(const std::vector<int> &walk) const
    {
        std::uint64_t visited = 0;
        for (const int n : walk)
            visited |= std::uint64_t{1} << n;
        const auto finish = [&](auto &self, std::uint64_t seen, int current) -> bool {
            if (std::popcount(seen) == count())
                return true;
            const std::uint64_t key = seen * 64 + std::uint64_t(current); // seen < 2^36
            if (auto found = memo.find(key); found != memo.end())
                return found->second;
            bool possible = false;
            for (int next = 0; next < count() && !possible; ++next) {
                if (!(seen >> next & 1) && knightMove(current, next))
                    possible = self(self, seen | std::uint64_t{1} << next, next);
            }
            memo[key] = possible;
            return possible;
        };
        return finish(finish, visited, walk.back());
    }

    bool isFullTourExtending(const std::vector<int> &tour, const std::vector<int> &walk) const
    {
        if (int(tour.size()) != count() || !std::equal(walk.begin(), walk.end(), tour.begin()))
            return false;
        std::vector<bool> seen(std::size_t(count()), false);
        for (std::size_t i = 0; i < tour.size(); ++i) {
            if (tour[i] < 0 || tour[i] >= count() || seen[std::size_t(tour[i])])
                return false;
            seen[std::size_t(tour[i])] = true;
            if (i > 0 && !knightMove(tour[i - 1], tour[i]))
                return false;
        }
        return true;
    }
};

std::vector<int> randomWalk(const SmallBoard &board, QRandomGenerator &random)
{
    std::vector<int> walk{int(random.bounded(board.count()))};
    for (;;) {
        std::vector<int> next;
        for (int n = 0; n < board.count(); ++n) {
            if (board.knightMove(walk.back(), n) && std::find(walk.begin(), walk.end(), n) == walk.end())
                next.push_back(n);
        }
        if (next.empty())
            return walk;
        walk.push_back(next[std::size_t(random.bounded(int(next.size())))]);
    }
}

std::vector<int> walkOf(const TourSolver &solver, const QString &names)
{
    std::vector<int> walk;
    for (const QString &name : names.split(u' ', Qt::SkipEmptyParts))
        walk.push_back((name.at(1).unicode() - u'1') * solver.files() + (name.at(0).unicode() - u'a'));
    return walk;
}

} // namespace

class SolverTest : public QObject
{
    Q_OBJECT

private slots:
    void exhaustiveSearchMatchesThePublishedCounts();
    void agreesWithExhaustiveSearch_data();
    void agreesWithExhaustiveSearch();
    void continuationsOnTheRealBoardAreLegal();
    void reasonsNameTheSquares();
    void timeBoundIsHonest();
};

void SolverTest::exhaustiveSearchMatchesThePublishedCounts()
{
    QCOMPARE((SmallBoard{3, 3, {}}.countTours()), 0LL);
    QCOMPARE((SmallBoard{4, 4, {}}.countTours()), 0LL);
    QCOMPARE((SmallBoard{5, 5, {}}.countTours()), 1728LL);
}

void SolverTest::agreesWithExhaustiveSearch_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("ranks");
    QTest::addColumn<int>("walks");
    QTest::addColumn<int>("shortest"); // prefixes this long and longer are compared
    QTest::newRow("3 x 4") << 3 << 4 << 60 << 1;
    QTest::newRow("4 x 4") << 4 << 4 << 60 << 1;
    QTest::newRow("5 x 5") << 5 << 5 << 120 << 1;
    QTest::newRow("6 x 6") << 6 << 6 << 60 << 12;
}

// Every prefix of many random walks: the same answer, and a continuation that is a tour.
void SolverTest::agreesWithExhaustiveSearch()
{
    QFETCH(int, files);
    QFETCH(int, ranks);
    QFETCH(int, walks);
    QFETCH(int, shortest);
    const SmallBoard board{files, ranks, {}};
    TourSolver solver(files, ranks);
    QRandomGenerator random(quint32(files * 100 + ranks));
    int yes = 0;
    int no = 0;
    for (int w = 0; w < walks; ++w) {
        const std::vector<int> walk = randomWalk(board, random);
        for (std::size_t length = std::size_t(shortest); length <= walk.size(); ++length) {
            const std::vector<int> prefix(walk.begin(), walk.begin() + qsizetype(length));
            const bool expected = board.canFinish(prefix);
            const TourSolver::Verdict verdict = solver.solve(prefix, std::chrono::seconds(20));
            QVERIFY(verdict.answer != Answer::Undecided);
            QCOMPARE(verdict.answer == Answer::Yes, expected);
            if (expected) {
                QVERIFY(board.isFullTourExtending(verdict.tour, prefix));
                ++yes;
            } else {
                ++no;
            }
        }
    }
    if (files * ranks >= 25)
        QVERIFY(yes > 0 && no > 0);
}

void SolverTest::continuationsOnTheRealBoardAreLegal()
{
    const SmallBoard board{8, 8, {}};
    TourSolver solver;
    QRandomGenerator random(8);
    int yes = 0;
    for (int w = 0; w < 200; ++w) {
        std::vector<int> walk = randomWalk(board, random);
        walk.resize(std::size_t(random.bounded(1, int(walk.size()) + 1)));
        const TourSolver::Verdict verdict = solver.solve(walk, std::chrono::seconds(5));
        QVERIFY(verdict.answer != Answer::Undecided);
        if (verdict.answer == Answer::Yes) {
            QVERIFY(board.isFullTourExtending(verdict.tour, walk));
            ++yes;
        } else {
            QVERIFY(verdict.reason != Reason::None);
            QVERIFY(verdict.tour.empty());
        }
    }
    QVERIFY(yes > 20);
    // Before the first move any square will do.
    const TourSolver::Verdict start = solver.solve({});
    QCOMPARE(start.answer, Answer::Yes);
    QVERIFY(board.isFullTourExtending(start.tour, {}));
}

void SolverTest::reasonsNameTheSquares()
{
    TourSolver solver;
    // b3 and c2 taken, the knight elsewhere: nothing leads to a1 any more.
    TourSolver::Verdict corner = solver.solve(walkOf(solver, u"b3 d4 c2 e3"_s));
    QCOMPARE(corner.answer, Answer::No);
    QCOMPARE(corner.reason, Reason::Unreachable);
    QCOMPARE(verdictText(solver, corner),
             u"Не: полето a1 вече не може да бъде достигнато: и двата му съседа са заети."_s);

    // a1 and h8 each keep a single free neighbour: both could only be last.
    TourSolver::Verdict ends = solver.solve(walkOf(solver, u"b3 c5 d7 f8 g6 e7"_s));
    QCOMPARE(ends.answer, Answer::No);
    QCOMPARE(ends.reason, Reason::TwoEnds);
    QCOMPARE(ends.squares, walkOf(solver, u"a1 h8"_s));
    QVERIFY(verdictText(solver, ends).contains(u"a1 и h8 могат да бъдат само последни"_s));

    // The knight in the corner with both neighbours taken.
    TourSolver::Verdict dead = solver.solve(walkOf(solver, u"b3 c5 e6 d4 c2 a1"_s));
    QCOMPARE(dead.reason, Reason::DeadEnd);
    QVERIFY(verdictText(solver, dead).contains(u"задънена улица"_s));

    // h8's neighbours are the knight's square and g6: the knight may jump in but not out.
    TourSolver::Verdict split = solver.solve(walkOf(solver, u"g6 e5 f7"_s));
    QCOMPARE(split.reason, Reason::Split);
    QVERIFY(verdictText(solver, split).contains(u"разделени на 2 части"_s));

    // b1 and a2 have two ways each, one of them c3, the knight's square: it can serve one.
    TourSolver::Verdict crowded = solver.solve(walkOf(solver, u"a6 b4 c2 a3 b5 c3"_s));
    QCOMPARE(crowded.reason, Reason::Crowded);
    QVERIFY(crowded.squares.size() >= 3);

    // a1 and b1 each have two ways left; the moves they force leave a square with none.
    TourSolver::Verdict forced = solver.solve(walkOf(solver, u"a2 c3 d1 b2 c4 b6"_s));
    QCOMPARE(forced.reason, Reason::Forced);
    QVERIFY(!forced.squares.empty());
    QVERIFY(verdictText(solver, forced).contains(u"само по един начин"_s));

    // a8 can only be last, but after 61 more moves the knight stands on the other colour.
    TourSolver::Verdict colour = solver.solve(walkOf(solver, u"b5 c7 a6"_s));
    QCOMPARE(colour.reason, Reason::WrongColour);
    QCOMPARE(colour.squares, walkOf(solver, u"a8"_s));
}

void SolverTest::timeBoundIsHonest()
{
    TourSolver solver;
    const auto started = TourSolver::Clock::now();
    const TourSolver::Verdict verdict = solver.solve({}, std::chrono::milliseconds(0));
    QVERIFY(TourSolver::Clock::now() - started < std::chrono::seconds(1));
    QVERIFY(verdict.answer == Answer::Undecided || verdict.answer == Answer::Yes);
    if (verdict.answer == Answer::Undecided)
        QVERIFY(verdictText(solver, verdict).startsWith(u"Не е ясно"_s));
}

QTEST_GUILESS_MAIN(SolverTest)
#include "solver_test.moc"
