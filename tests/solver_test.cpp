// SPDX-License-Identifier: GPL-3.0-or-later
// The solver against a plain exhaustive search written here from the rules, on small boards,
// and its continuations and reasons on the real one.
#include "solver/tour_solver.h"
#include "solver/verdict_text.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

#include <QFile>

#include <map>
#include <set>
#include <thread>
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

    // With closed, the last square must also be a knight's move from the first.
    bool canFinish(const std::vector<int> &walk, bool closed = false) const
    {
        std::uint64_t visited = 0;
        for (const int n : walk)
            visited |= std::uint64_t{1} << n;
        const int first = walk.front();
        const auto finish = [&](auto &self, std::uint64_t seen, int current) -> bool {
            if (std::popcount(seen) == count())
                return !closed || knightMove(current, first);
            // seen < 2^36: the square, the first square and the goal fit above it
            const std::uint64_t key = ((seen * 64 + std::uint64_t(current)) * 64 + std::uint64_t(first)) * 2 + closed;
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

    bool isFullTourExtending(const std::vector<int> &tour, const std::vector<int> &walk, bool closed = false) const
    {
        if (int(tour.size()) != count() || !std::equal(walk.begin(), walk.end(), tour.begin()))
            return false;
        if (closed && !knightMove(tour.back(), tour.front()))
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


// What a reason claims, checked on the position alone with the rules above: which squares are
// free, how many ways lead into each, and the parts the free squares fall into.
struct Position {
    const SmallBoard &board;
    std::vector<int> walk;
    std::vector<bool> visited;
    int knight;
    int freeCount;

    Position(const SmallBoard &b, const std::vector<int> &walk)
        : board(b), walk(walk), visited(std::size_t(b.count()), false), knight(walk.back()), freeCount(b.count() - int(walk.size()))
    {
        for (const int n : walk)
            visited[std::size_t(n)] = true;
    }
    bool isFree(int n) const { return n >= 0 && n < board.count() && !visited[std::size_t(n)]; }
    int colour(int n) const { return (n % board.files + n / board.files) % 2; }
    // Free neighbours, and the knight when it stands next to n.
    int waysInto(int n) const
    {
        int ways = 0;
        for (int m = 0; m < board.count(); ++m)
            ways += board.knightMove(n, m) && (isFree(m) || m == knight);
        return ways;
    }
    // The part of the free squares n belongs to, as a label per square.
    std::vector<int> parts() const
    {
        std::vector<int> label(std::size_t(board.count()), -1);
        int next = 0;
        for (int start = 0; start < board.count(); ++start) {
            if (!isFree(start) || label[std::size_t(start)] >= 0)
                continue;
            std::vector<int> stack{start};
            label[std::size_t(start)] = next;
            while (!stack.empty()) {
                const int n = stack.back();
                stack.pop_back();
                for (int m = 0; m < board.count(); ++m) {
                    if (isFree(m) && label[std::size_t(m)] < 0 && board.knightMove(n, m)) {
                        label[std::size_t(m)] = next;
                        stack.push_back(m);
                    }
                }
            }
            ++next;
        }
        return label;
    }

    // Empty when the claim holds, otherwise what is wrong with it.
    QString checkClaim(const TourSolver::Verdict &verdict) const
    {
        const std::vector<int> &named = verdict.squares;
        for (const int n : named) {
            if (!isFree(n) && n != knight && n != walk.front()) // the first: a closed tour's way back
                return u"names a visited square"_s;
        }
        const auto each = [&](auto first, auto last, int ways) {
            return std::all_of(first, last, [&](int n) { return isFree(n) && waysInto(n) == ways; });
        };
        const auto leaningOn = [&](auto first, auto last, int square) {
            return std::all_of(first, last, [&](int n) { return board.knightMove(n, square); });
        };
        switch (verdict.reason) {
        case Reason::DeadEnd:
            for (int m = 0; m < board.count(); ++m) {
                if (isFree(m) && board.knightMove(knight, m))
                    return u"the knight has a free square"_s;
            }
            return named == std::vector<int>{knight} ? QString() : u"not the knight's square"_s;
        case Reason::Unreachable:
            return named.size() == 1 && each(named.begin(), named.end(), 0) ? QString() : u"a way leads in"_s;
        case Reason::TwoEnds:
            return named.size() >= 2 && each(named.begin(), named.end(), 1) ? QString() : u"not single ways"_s;
        case Reason::WrongColour:
            if (named.size() != 1 || !each(named.begin(), named.end(), 1) || freeCount < 2)
                return u"not a square that must be last"_s;
            return colour(named[0]) != (colour(knight) + freeCount) % 2 ? QString() : u"the right colour"_s;
        case Reason::Split: {
            const std::vector<int> label = parts();
            const int count = *std::max_element(label.begin(), label.end()) + 1;
            std::vector<int> seen;
            for (const int n : named)
                seen.push_back(label[std::size_t(n)]);
            std::sort(seen.begin(), seen.end());
            const bool distinct = std::adjacent_find(seen.begin(), seen.end()) == seen.end();
            return distinct && int(named.size()) == count && count >= 2 ? QString() : u"not one square a part"_s;
        }
        case Reason::Crowded:
        case Reason::CrowdedBesideEnd: {
            const bool besideEnd = verdict.reason == Reason::CrowdedBesideEnd;
            const int hub = named.front();
            const auto first = named.begin() + 1;
            const auto last = named.end() - (besideEnd ? 1 : 0);
            const int room = hub == knight ? 1 : 2;
            if (!each(first, last, 2) || !leaningOn(first, last, hub))
                return u"not two-way squares next to the named one"_s;
            if (besideEnd && !(each(last, named.end(), 1) && std::find(first, last, named.back()) == last))
                return u"the last square named has more than one way"_s;
            return int(last - first) > room + (besideEnd ? 0 : 1) ? QString() : u"not more than it can serve"_s;
        }
        case Reason::NoWayBack:
            for (int m = 0; m < board.count(); ++m) {
                if (isFree(m) && board.knightMove(named.at(0), m))
                    return u"a free square is next to the first"_s;
            }
            return freeCount > 0 ? QString() : u"nothing is left to come back from"_s;
        case Reason::NotClosed:
            return freeCount == 0 && named.at(1) == knight && !board.knightMove(named.at(0), named.at(1))
                       ? QString()
                       : u"the walk is closed or not whole"_s;
        case Reason::Exhausted:
        case Reason::TimeOut:
        case Reason::None:
            break;
        }
        return named.empty() ? QString() : u"names squares it makes no claim about"_s;
    }
};

// What a verdict's words say, read back from the text alone in either language: its kind by
// its phrase, the squares in the order it names them, the counts it states.
struct Words {
    enum Kind { Yes, YesClosed, DeadEnd, Unreachable, TwoEnds, Split, CrowdedBesideEnd, Crowded, WrongColour,
                NoWayBack, NotClosed, Exhausted, Unclear, Unread };
    Kind kind = Unread;
    std::vector<int> squares;
    std::vector<int> numbers;
    bool atKnight = false; // "където е конят": the hub is the knight's square

    Words(const QString &text, int files)
    {
        // The first phrase found decides: the more particular ones come first.
        static const std::array<std::tuple<Kind, const char16_t *, const char16_t *>, 13> phrases{{
            {YesClosed, u"затворена обиколка.", u"a closed tour."},
            {Yes, u"Да:", u"Yes:"},
            {DeadEnd, u"задънена улица", u"a dead end"},
            {Unreachable, u"не може да стигне до полето", u"can no longer reach square"},
            {TwoEnds, u"могат да бъдат само последни", u"can each only be last"},
            {Split, u"са разделени на", u"are split into"},
            {CrowdedBesideEnd, u"Последно може да бъде само полето", u"to which a single move leads, can be last"},
            {Crowded, u"само по два свободни хода", u"only two free moves lead to each"},
            {WrongColour, u"сменя цвета", u"changes square colour"},
            {NoWayBack, u"няма откъде да се върне", u"has no way back"},
            {NotClosed, u"обиколката е отворена", u"so the tour is open"},
            {Exhausted, u"бяха изпробвани всички", u"every continuation was tried"},
            {Unclear, u"Не е ясно", u"Unclear"},
        }};
        for (const auto &[kind, bulgarian, english] : phrases) {
            if (text.contains(QStringView(bulgarian)) || text.contains(QStringView(english))) {
                this->kind = kind;
                break;
            }
        }
        static const QRegularExpression square(u"\\b([a-z])(\\d+)\\b"_s), number(u"(?<![\\w.])(\\d+)\\b"_s);
        for (const QRegularExpressionMatch &m : square.globalMatch(text))
            squares.push_back((m.captured(2).toInt() - 1) * files + (m.captured(1).at(0).unicode() - u'a'));
        for (const QRegularExpressionMatch &m : number.globalMatch(text))
            numbers.push_back(m.captured(1).toInt());
        atKnight = text.contains(u"където е конят"_s) || text.contains(u"where the knight is"_s);
    }
};

// Each claim of the words checked on the position, the walk's first square and the goal: empty
// when all hold, else the first that does not. A refutation's claims each rule a tour out when
// true, so a "No" for a position that has a tour fails here too.
QString checkWords(const Position &p, const Words &words, int first, bool closed)
{
    const std::vector<int> &named = words.squares;
    const auto ways = [&](int n, int count) { return p.isFree(n) && p.waysInto(n) == count; };
    const auto freeNeighbour = [&](int n) {
        for (int m = 0; m < p.board.count(); ++m) {
            if (p.isFree(m) && p.board.knightMove(n, m))
                return true;
        }
        return false;
    };
    switch (words.kind) {
    case Words::Yes:
    case Words::YesClosed:
        if ((words.kind == Words::YesClosed) != closed)
            return u"names the other goal"_s;
        return named.empty() && (p.board.count() > 25 || p.board.canFinish(p.walk, closed)) ? QString() : u"no tour is left"_s;
    case Words::DeadEnd:
        return named == std::vector<int>{p.knight} && !freeNeighbour(p.knight) ? QString() : u"not the knight's dead end"_s;
    case Words::Unreachable: {
        if (named.size() != 1 || !ways(named[0], 0))
            return u"a way leads in"_s;
        int neighbours = 0;
        for (int m = 0; m < p.board.count(); ++m)
            neighbours += p.board.knightMove(named[0], m);
        return (words.numbers.empty() ? neighbours == 2 : words.numbers == std::vector<int>{neighbours}) ? QString()
                                                                                                         : u"the wrong count of neighbours"_s;
    }
    case Words::TwoEnds:
        return named.size() >= 2 && std::ranges::all_of(named, [&](int n) { return ways(n, 1); }) ? QString() : u"not single ways"_s;
    case Words::Split: {
        const std::vector<int> label = p.parts();
        std::set<int> seen;
        for (const int n : named)
            seen.insert(p.isFree(n) ? label[std::size_t(n)] : -1);
        const int parts = *std::max_element(label.begin(), label.end()) + 1;
        return words.numbers == std::vector<int>{parts} && int(named.size()) == parts && int(seen.size()) == parts
                       && !seen.contains(-1)
                   ? QString()
                   : u"not one square of each part"_s;
    }
    case Words::Crowded:
    case Words::CrowdedBesideEnd: {
        // "LIST … from HUB … [END …] … HUB": the hub is named last, the end between.
        const int hub = named.back();
        const auto hubAt = std::ranges::find(named, hub);
        const std::vector<int> list(named.begin(), hubAt);
        const bool besideEnd = words.kind == Words::CrowdedBesideEnd;
        if (words.atKnight != (hub == p.knight) || list.empty())
            return u"the knight put elsewhere"_s;
        if (!std::ranges::all_of(list, [&](int n) { return ways(n, 2) && p.board.knightMove(n, hub); }))
            return u"not two-way squares next to the hub"_s;
        if (besideEnd && (named.end() - hubAt != 3 || !ways(hubAt[1], 1) || std::ranges::find(list, hubAt[1]) != list.end()))
            return u"not a one-way end"_s;
        const int room = hub == p.knight ? 1 : 2;
        return int(list.size()) > room + (besideEnd ? 0 : 1) ? QString() : u"not more than the hub can serve"_s;
    }
    case Words::WrongColour:
        return named.size() == 1 && ways(named[0], 1) && p.freeCount >= 2
                       && p.colour(named[0]) != (p.colour(p.knight) + p.freeCount) % 2
                   ? QString()
                   : u"a square that may be last"_s;
    case Words::NoWayBack:
        return closed && named == std::vector<int>{first} && !freeNeighbour(first) && p.freeCount > 0 ? QString()
                                                                                                        : u"a way back is left"_s;
    case Words::NotClosed:
        return closed && named == std::vector<int>{p.knight, first} && p.freeCount == 0 && !p.board.knightMove(first, p.knight)
                   ? QString()
                   : u"not a whole open walk"_s;
    case Words::Exhausted:
        return p.board.count() > 25 || !p.board.canFinish(p.walk, closed) ? QString() : u"a tour is left"_s;
    case Words::Unclear:
        return {};
    case Words::Unread:
        break;
    }
    return u"words of no known kind"_s;
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
    void hardPositionsAnswerQuicklyEvenTogether();
    void everyReasonIsAClaimThatHolds_data();
    void everyReasonIsAClaimThatHolds();
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
    QTest::addColumn<bool>("closed");
    QTest::newRow("3 x 4") << 3 << 4 << 60 << 1 << false;
    QTest::newRow("4 x 4") << 4 << 4 << 60 << 1 << false;
    QTest::newRow("5 x 5") << 5 << 5 << 120 << 1 << false;
    QTest::newRow("6 x 6") << 6 << 6 << 60 << 12 << false;
    QTest::newRow("4 x 6") << 4 << 6 << 60 << 1 << false; // more ranks than files
    QTest::newRow("5 x 4") << 5 << 4 << 60 << 1 << false; // more files than ranks
    // No closed tour on 5 x 5, whose squares are odd in number; many on 6 x 6.
    QTest::newRow("5 x 5 closed") << 5 << 5 << 40 << 6 << true;
    QTest::newRow("6 x 6 closed") << 6 << 6 << 60 << 12 << true;
}

// Every prefix of many random walks: the same answer, and a continuation that is a tour.
void SolverTest::agreesWithExhaustiveSearch()
{
    QFETCH(int, files);
    QFETCH(int, ranks);
    QFETCH(int, walks);
    QFETCH(int, shortest);
    QFETCH(bool, closed);
    const auto goal = closed ? TourSolver::Goal::Closed : TourSolver::Goal::Open;
    const SmallBoard board{files, ranks, {}};
    TourSolver solver(files, ranks);
    QRandomGenerator random(quint32(files * 100 + ranks));
    int yes = 0;
    int no = 0;
    for (int w = 0; w < walks; ++w) {
        const std::vector<int> walk = randomWalk(board, random);
        for (std::size_t length = std::size_t(shortest); length <= walk.size(); ++length) {
            const std::vector<int> prefix(walk.begin(), walk.begin() + qsizetype(length));
            const bool expected = board.canFinish(prefix, closed);
            const TourSolver::Verdict verdict = solver.solve(prefix, std::chrono::seconds(20), goal);
            QVERIFY(verdict.answer != Answer::Undecided);
            QCOMPARE(verdict.answer == Answer::Yes, expected);
            if (expected) {
                QVERIFY(board.isFullTourExtending(verdict.tour, prefix, closed));
                ++yes;
            } else {
                ++no;
            }
        }
    }
    if (files * ranks >= 25)
        QVERIFY((yes > 0 || (closed && files * ranks % 2 == 1)) && no > 0);
    if (closed && files * ranks % 2 == 1)
        QCOMPARE(yes, 0);
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
    // Closed completions are closed and legal.
    int closedYes = 0;
    for (int w = 0; w < 100; ++w) {
        std::vector<int> walk = randomWalk(board, random);
        walk.resize(std::size_t(random.bounded(1, std::min(int(walk.size()), 30) + 1)));
        const TourSolver::Verdict verdict = solver.solve(walk, std::chrono::seconds(5), TourSolver::Goal::Closed);
        QVERIFY(verdict.answer != Answer::Undecided);
        if (verdict.answer == Answer::Yes) {
            QVERIFY(board.isFullTourExtending(verdict.tour, walk, true));
            ++closedYes;
        }
    }
    QVERIFY(closedYes > 20);
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
             u"Не: конят вече не може да стигне до полето a1: и двата му съседа са заети."_s);

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
    QCOMPARE(crowded.reason, Reason::CrowdedBesideEnd);
    QVERIFY(crowded.squares.size() >= 4);

    // a1 and b1 each have two ways left; the moves they force leave a square with none: a
    // proof, but no claim short enough to name.
    TourSolver::Verdict forced = solver.solve(walkOf(solver, u"a2 c3 d1 b2 c4 b6"_s));
    QCOMPARE(forced.reason, Reason::Exhausted);
    QCOMPARE(forced.nodes, 0u);

    // a8 can only be last, but after 61 more moves the knight stands on the other colour.
    TourSolver::Verdict colour = solver.solve(walkOf(solver, u"b5 c7 a6"_s));
    QCOMPARE(colour.reason, Reason::WrongColour);
    QCOMPARE(colour.squares, walkOf(solver, u"a8"_s));
}

// A position that needs a search: with no time at all it is undecided, said so, and the
// search stopped at its first node; with time it is decided.
void SolverTest::timeBoundIsHonest()
{
    TourSolver solver;
    const std::vector<int> walk = walkOf(solver, u"d3 c5 b7 d6 c4 e5 d7 b6 a8 c7 e6 f4 g2 h4"_s);
    const TourSolver::Verdict late = solver.solve(walk, std::chrono::milliseconds(0));
    QCOMPARE(late.answer, Answer::Undecided);
    QCOMPARE(late.reason, Reason::TimeOut);
    QCOMPARE(late.nodes, 1u);
    QVERIFY(late.tour.empty());
    QVERIFY(verdictText(solver, late).startsWith(u"Не е ясно"_s));
    QCOMPARE(solver.solve(walk).answer, Answer::Yes);
}

// The positions the benchmark's hunt found hardest, and a family that took seconds before
// forced moves were spread to a standstill: answered at once, also eight at a time on two
// cores, and a tour where an aborted search once passed for a refuted one.
void SolverTest::hardPositionsAnswerQuicklyEvenTogether()
{
    TourSolver solver;
    const SmallBoard board{8, 8, {}};
    for (const QString &names : {u"h2 g4 e3 d5 f4 e2 c3 e4 g5 h7 f6 g8"_s, u"b1 d2 c4 e5 d3 b4 c6 d4 e2 g1 f3 h2"_s,
                                 u"h7 g5 e6 d4 f5 e7 c6 e5 g4 h2 f3 g1"_s}) {
        const TourSolver::Verdict verdict = solver.solve(walkOf(solver, names));
        QCOMPARE(verdict.answer, Answer::No);
        QVERIFY2(verdict.nodes <= 16, qPrintable(names));
    }
    const std::vector<int> hasTour = walkOf(solver, u"d3 c5 b7 d6 c4 e5 d7 b6 a8 c7 e6 f4 g2 h4"_s);
    QVERIFY(board.isFullTourExtending(solver.solve(hasTour).tour, hasTour));

    // The hardest positions the benchmark's hunt found, each with the positions the solver
    // searched for it, open and closed, when it was kept: weaker pruning would stay exact, only
    // slower, so the count may not grow.
    QFile file(QStringLiteral(KNIGHT_SOURCE_DIR "/bench/hard_positions.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QRegularExpression keptLine(u"^([a-h1-8 ]+?)\\s+# open (\\d+), closed (\\d+)$"_s);
    std::vector<std::vector<int>> kept;
    std::array<std::uint64_t, 2> dearest{};
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QRegularExpressionMatch match = keptLine.match(QString::fromLatin1(line));
        QVERIFY2(match.hasMatch(), line.constData());
        kept.push_back(walkOf(solver, match.captured(1)));
        for (const auto goal : {TourSolver::Goal::Open, TourSolver::Goal::Closed}) {
            const TourSolver::Verdict verdict = solver.solve(kept.back(), std::chrono::seconds(60), goal);
            const bool closed = goal == TourSolver::Goal::Closed;
            QVERIFY(verdict.answer != Answer::Undecided);
            QVERIFY(verdict.answer == Answer::No || board.isFullTourExtending(verdict.tour, kept.back(), closed));
            QVERIFY2(verdict.nodes <= match.captured(closed ? 3 : 2).toULongLong(), line.constData());
            dearest[closed] = std::max(dearest[closed], verdict.nodes);
        }
    }
    QVERIFY(kept.size() > 200);
    // The hunt found positions that take thousands, open and closed.
    QVERIFY(dearest[0] > 5000 && dearest[1] > 2000);
    std::array<Answer, 8> answers{};
    std::vector<std::thread> threads;
    for (Answer &answer : answers)
        threads.emplace_back([&answer, &kept] { answer = TourSolver().solve(kept.front()).answer; });
    for (std::thread &thread : threads)
        thread.join();
    QVERIFY(std::count(answers.begin(), answers.end(), Answer::Undecided) == 0);
}

void SolverTest::everyReasonIsAClaimThatHolds_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("ranks");
    QTest::addColumn<int>("walks");
    QTest::addColumn<bool>("closed");
    for (const bool closed : {false, true}) {
        const char *goal = closed ? "closed" : "open";
        QTest::addRow("3 x 4, %s", goal) << 3 << 4 << 60 << closed;
        QTest::addRow("3 x 7, %s", goal) << 3 << 7 << 60 << closed;
        QTest::addRow("4 x 5, %s", goal) << 4 << 5 << 60 << closed;
        QTest::addRow("5 x 5, %s", goal) << 5 << 5 << 150 << closed;
        QTest::addRow("6 x 6, %s", goal) << 6 << 6 << 150 << closed;
        QTest::addRow("5 x 7, %s", goal) << 5 << 7 << 150 << closed;
        QTest::addRow("7 x 7, %s", goal) << 7 << 7 << 60 << closed;
        QTest::addRow("8 x 8, %s", goal) << 8 << 8 << (closed ? 100 : 300) << closed;
    }
}

// Every prefix of random walks on every board, for either goal: each reason's claim holds on
// the board, its text names the squares the claim is about, and what the words say in either
// language, read back from them alone, holds too.
void SolverTest::everyReasonIsAClaimThatHolds()
{
    QFETCH(int, files);
    QFETCH(int, ranks);
    QFETCH(int, walks);
    QFETCH(bool, closed);
    const SmallBoard board{files, ranks, {}};
    TourSolver solver(files, ranks);
    const TourSolver::Goal goal = closed ? TourSolver::Goal::Closed : TourSolver::Goal::Open;
    QRandomGenerator random(quint32(files * 7 + ranks + closed));
    std::map<Reason, int> checked;
    QTranslator english;
    QVERIFY(english.load(u":/i18n/knight_en.qm"_s));
    for (int w = 0; w < walks; ++w) {
        const std::vector<int> walk = randomWalk(board, random);
        for (std::size_t length = 1; length <= walk.size(); ++length) {
            const std::vector<int> prefix(walk.begin(), walk.begin() + qsizetype(length));
            const TourSolver::Verdict verdict = solver.solve(prefix, std::chrono::seconds(20), goal);
            if (verdict.answer == Answer::Undecided)
                continue;
            const Position position(board, prefix);
            for (const bool inEnglish : {true, false}) {
                if (inEnglish)
                    QCoreApplication::installTranslator(&english);
                const QString text = verdictText(solver, verdict);
                QCoreApplication::removeTranslator(&english);
                const QString wrong = checkWords(position, Words(text, files), prefix.front(), closed);
                QVERIFY2(wrong.isEmpty(), qPrintable(wrong + u": "_s + text));
            }
            if (verdict.answer != Answer::No)
                continue;
            const QString text = verdictText(solver, verdict);
            const QString wrong = position.checkClaim(verdict);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong + u": "_s + text));
            for (const int n : verdict.squares)
                QVERIFY2(text.contains(solverSquareName(solver, n)), qPrintable(text));
            ++checked[verdict.reason];
        }
    }
    // Enough claims of the usual kinds were checked for this to mean something.
    if (!closed && files * ranks >= 25)
        QVERIFY(checked[Reason::Unreachable] > 0 && checked[Reason::TwoEnds] > 0 && checked[Reason::DeadEnd] > 0);
    if (files == 8 && !closed)
        QVERIFY(checked[Reason::Split] > 0 && checked[Reason::WrongColour] > 0);
    if (closed && files * ranks % 2 == 0 && files > 3)
        QVERIFY(checked[Reason::NoWayBack] + checked[Reason::NotClosed] > 0);
}

QTEST_GUILESS_MAIN(SolverTest)
#include "solver_test.moc"
