// SPDX-License-Identifier: GPL-3.0-or-later
#include "puzzle/puzzle.h"

#include "solver/tour_solver.h"

#include <algorithm>
#include <bit>
#include <unordered_set>

namespace knight {

namespace {

using Bits = TourSolver::Bits;
using Clock = std::chrono::steady_clock;

constexpr Bits bit(int n)
{
    return Bits{1} << n;
}

constexpr std::uint64_t checkEvery = 1024;        // nodes between looks at the clock
constexpr std::size_t refutedLimit = std::size_t{1} << 20;

struct Position {
    Bits free = 0;
    int current = -1;
    bool operator==(const Position &) const = default;
};

struct PositionHash {
    std::size_t operator()(const Position &p) const
    {
        std::uint64_t h = p.free * 0x9E3779B97F4A7C15ull ^ std::uint64_t(p.current) * 0xC2B2AE3D27D4EB4Full;
        return std::size_t(h ^ (h >> 29));
    }
};

// One count: a depth-first search over the walk's continuations, each step either the square
// its number is given on or a free square that carries no number.
class PuzzleSearch
{
public:
    PuzzleSearch(const Puzzle &puzzle, std::uint64_t limit, std::chrono::milliseconds bound,
                 std::uint64_t nodeLimit)
        : board_(puzzle.files, puzzle.ranks)
        , count_(puzzle.squareCount())
        , closed_(puzzle.closed)
        , limit_(limit)
        , deadline_(Clock::now() + bound)
        , nodeLimit_(nodeLimit)
        , squareAt_(std::size_t(count_) + 2, -1)
        , nextGiven_(std::size_t(count_) + 1, 0)
    {
        for (int n = 0; n < count_; ++n) {
            if (const int step = puzzle.given[std::size_t(n)]) {
                squareAt_[std::size_t(step)] = n;
                given_ |= bit(n);
            }
        }
        for (int k = count_ - 1, next = 0; k >= 0; --k) {
            if (squareAt_[std::size_t(k) + 1] >= 0)
                next = k + 1;
            nextGiven_[std::size_t(k)] = next;
        }
    }

    PuzzleCount run(const std::vector<int> &walk)
    {
        Bits free = count_ == 64 ? ~Bits{0} : bit(count_) - 1;
        path_ = walk;
        for (const int n : walk)
            free &= ~bit(n);
        if (walk.empty()) {
            // The first square: the one given 1, or any that carries no number.
            const Bits starts = squareAt_[1] >= 0 ? bit(squareAt_[1]) : free & ~given_;
            for (Bits left = starts; left && !done(); left &= left - 1) {
                const int n = std::countr_zero(left);
                path_.assign(1, n);
                search(free & ~bit(n), n);
            }
        } else {
            search(free, walk.back());
        }
        PuzzleCount result;
        result.solutions = solutions_;
        result.first = first_;
        result.nodes = nodes_;
        if (solutions_ > 1)
            result.answer = PuzzleCount::Answer::Many;
        else if (timedOut_)
            result.answer = PuzzleCount::Answer::Undecided;
        else
            result.answer = solutions_ == 1 ? PuzzleCount::Answer::One : PuzzleCount::Answer::None;
        return result;
    }

private:
    bool done() const { return timedOut_ || solutions_ >= limit_; }

    bool mustStop()
    {
        if ((++nodes_ % checkEvery == 0 && Clock::now() >= deadline_) || nodes_ > nodeLimit_)
            timedOut_ = true;
        return done();
    }

    // The squares a set of squares reaches in one move.
    Bits reach(Bits from) const
    {
        Bits to = 0;
        for (; from; from &= from - 1)
            to |= board_.knightTargets(std::countr_zero(from));
        return to;
    }

    // Whether the position may still lead to a solution, by what the board shows at once.
    bool hopeful(Bits free, int current) const
    {
        const int step = count_ - std::popcount(free); // the knight's move number
        // The next given number must be reachable in time over squares without numbers.
        if (const int next = nextGiven_[std::size_t(step)]) {
            const Bits target = bit(squareAt_[std::size_t(next)]);
            const Bits open = free & ~given_;
            Bits seen = bit(current);
            Bits frontier = seen;
            bool found = false;
            for (int moves = 1; moves <= next - step && frontier; ++moves) {
                const Bits reached = reach(frontier);
                if (reached & target) {
                    found = true;
                    break;
                }
                frontier = reached & open & ~seen;
                seen |= frontier;
            }
            if (!found)
                return false;
        }
        // Every free square is entered and, but for the last, left: it needs two ways, from free
        // squares or the knight; only the last square may have one.
        const Bits ways = free | bit(current);
        const int end = squareAt_[std::size_t(count_)];
        int single = 0;
        for (Bits left = free; left; left &= left - 1) {
            const int n = std::countr_zero(left);
            const int degree = std::popcount(board_.knightTargets(n) & ways);
            if (degree == 0)
                return false;
            if (degree == 1 && ((end >= 0 && n != end) || ++single > 1))
                return false;
        }
        // The free squares hang together with the knight.
        Bits joined = bit(current);
        for (Bits grown = joined; grown;) {
            grown = reach(grown) & free & ~joined;
            joined |= grown;
        }
        return (free & ~joined) == 0;
    }

    void search(Bits free, int current)
    {
        if (mustStop())
            return;
        if (!free) {
            if (!closed_ || (board_.knightTargets(current) & bit(path_.front()))) {
                if (++solutions_ == 1)
                    first_ = path_;
            }
            return;
        }
        // A closed tour's ending depends on its first square too.
        const Position position{free, closed_ ? current + 64 * path_.front() : current};
        if (refuted_.contains(position) || !hopeful(free, current))
            return;
        const std::uint64_t before = solutions_;
        const int step = count_ - std::popcount(free) + 1;
        const int fixed = squareAt_[std::size_t(step)];
        Bits choices = board_.knightTargets(current) & free & (fixed >= 0 ? bit(fixed) : ~given_);
        // Fewest onward moves first: a solution, when there is one, is found soon.
        std::array<std::pair<int, int>, 8> order{};
        std::size_t size = 0;
        for (; choices; choices &= choices - 1) {
            const int n = std::countr_zero(choices);
            order[size++] = {std::popcount(board_.knightTargets(n) & free), n};
        }
        std::sort(order.begin(), order.begin() + std::ptrdiff_t(size));
        for (std::size_t i = 0; i < size && !done(); ++i) {
            path_.push_back(order[i].second);
            search(free & ~bit(order[i].second), order[i].second);
            path_.pop_back();
        }
        if (solutions_ == before && !timedOut_ && refuted_.size() < refutedLimit)
            refuted_.insert(position);
    }

    TourSolver board_;
    int count_;
    bool closed_;
    std::uint64_t limit_;
    Clock::time_point deadline_;
    std::uint64_t nodeLimit_;
    std::vector<int> squareAt_;  // step -> square given that number, or -1
    std::vector<int> nextGiven_; // step k -> the smallest given number after k, or 0
    Bits given_ = 0;
    std::vector<int> path_;
    std::vector<int> first_;
    std::unordered_set<Position, PositionHash> refuted_;
    std::uint64_t nodes_ = 0;
    std::uint64_t solutions_ = 0;
    bool timedOut_ = false;
};

// The walk is legal and agrees with every given number.
bool agrees(const Puzzle &puzzle, const std::vector<int> &walk)
{
    const TourSolver board(puzzle.files, puzzle.ranks);
    Bits seen = 0;
    for (std::size_t i = 0; i < walk.size(); ++i) {
        const int n = walk[i];
        if (n < 0 || n >= puzzle.squareCount() || (seen & bit(n)) ||
            conflictOf(puzzle, int(i) + 1, n) != ClueConflict::None)
            return false;
        if (i > 0 && !(board.knightTargets(walk[i - 1]) & bit(n)))
            return false;
        seen |= bit(n);
    }
    return true;
}

} // namespace

int Puzzle::givenCount() const
{
    return int(std::count_if(given.begin(), given.end(), [](int step) { return step != 0; }));
}

int squareOfStep(const Puzzle &puzzle, int step)
{
    const auto at = std::find(puzzle.given.begin(), puzzle.given.end(), step);
    return at == puzzle.given.end() || step == 0 ? -1 : int(at - puzzle.given.begin());
}

ClueConflict conflictOf(const Puzzle &puzzle, int step, int n)
{
    const int here = puzzle.given[std::size_t(n)];
    if (here != 0 && here != step)
        return ClueConflict::SquareHasOtherNumber;
    if (here == 0 && squareOfStep(puzzle, step) >= 0)
        return ClueConflict::NumberIsElsewhere;
    return ClueConflict::None;
}

PuzzleCount countSolutions(const Puzzle &puzzle, const std::vector<int> &walk, std::uint64_t limit,
                           std::chrono::milliseconds bound, std::uint64_t nodeLimit)
{
    if (!agrees(puzzle, walk)) {
        PuzzleCount none;
        none.answer = PuzzleCount::Answer::None;
        return none;
    }
    return PuzzleSearch(puzzle, limit, bound, nodeLimit).run(walk);
}

} // namespace knight
