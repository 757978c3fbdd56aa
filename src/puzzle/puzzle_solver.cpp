// SPDX-License-Identifier: GPL-3.0-or-later
#include "puzzle/puzzle.h"

#include "solver/tour_solver.h"

#include <algorithm>
#include <array>
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

// Without the processor's own instruction (not in the x86-64 baseline) std::popcount is a
// library call; this is a few inline instructions.
int count(Bits bits)
{
    bits -= (bits >> 1) & 0x5555555555555555ull;
    bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((bits * 0x0101010101010101ull) >> 56);
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

PuzzleCount noSolution()
{
    PuzzleCount result;
    result.answer = PuzzleCount::Answer::None;
    return result;
}

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
        constexpr int jumps[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
        for (std::size_t j = 0; j < 8; ++j) {
            jumps_[j].shift = jumps[j][0] * puzzle.files + jumps[j][1];
            for (int n = 0; n < count_; ++n) {
                const int rank = n / puzzle.files + jumps[j][0];
                const int file = n % puzzle.files + jumps[j][1];
                if (rank >= 0 && rank < puzzle.ranks && file >= 0 && file < puzzle.files)
                    jumps_[j].from |= bit(n);
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
        if (!coloursAgree())
            return noSolution();
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
    // Every move changes the square's colour: two given numbers an odd distance apart stand
    // on squares of different colours.
    bool coloursAgree() const
    {
        int before = 0;
        for (int step = 1; step <= count_; ++step) {
            const int n = squareAt_[std::size_t(step)];
            if (n < 0)
                continue;
            if (before != 0) {
                const int m = squareAt_[std::size_t(before)];
                if ((board_.colourOf(n) != board_.colourOf(m)) != ((step - before) % 2 == 1))
                    return false;
            }
            before = step;
        }
        return true;
    }

    bool done() const { return timedOut_ || solutions_ >= limit_; }

    bool mustStop()
    {
        if ((++nodes_ % checkEvery == 0 && Clock::now() >= deadline_) || nodes_ > nodeLimit_)
            timedOut_ = true;
        return done();
    }

    // The squares a set of squares reaches in one move: all at once, one direction of jump
    // at a time.
    Bits reach(Bits from) const
    {
        Bits to = 0;
        for (const Jump &jump : jumps_) {
            const Bits moving = from & jump.from;
            to |= jump.shift > 0 ? moving << jump.shift : moving >> -jump.shift;
        }
        return to;
    }

    // The squares that a path of exactly moves moves from start to target, through open
    // squares, may pass: those whose distances from both ends add up to at most moves. Empty
    // when target cannot be reached in time.
    struct Passage {
        bool reachable = false;
        Bits squares = 0;
    };
    Passage passage(int start, int target, int moves, Bits open) const
    {
        std::array<Bits, 64> ahead{}; // ahead[d]: first reached from start in d moves
        ahead[0] = bit(start);
        Bits seen = ahead[0];
        Passage result;
        int farthest = 0; // the last d with squares first reached in d moves
        for (int d = 1; d <= moves && ahead[std::size_t(d) - 1]; ++d) {
            const Bits reached = reach(ahead[std::size_t(d) - 1]);
            result.reachable = result.reachable || (reached & bit(target));
            ahead[std::size_t(d)] = reached & open & ~seen;
            seen |= ahead[std::size_t(d)];
            if (ahead[std::size_t(d)])
                farthest = d;
        }
        if (!result.reachable)
            return result;
        // Back from target: within holds the open squares at most k moves from it, and a square
        // d moves ahead lies on the way when it is within moves - d of target. Once within stops
        // growing, every nearer square ahead is on the way if it is within.
        std::array<Bits, 64> upTo{}; // upTo[d]: the squares at most d moves ahead
        for (int d = 1; d <= farthest; ++d)
            upTo[std::size_t(d)] = upTo[std::size_t(d) - 1] | ahead[std::size_t(d)];
        Bits frontier = bit(target);
        Bits within = 0;
        for (int k = 1; k < moves; ++k) {
            frontier = reach(frontier) & open & ~within;
            within |= frontier;
            if (!frontier) {
                result.squares |= upTo[std::size_t(std::min(moves - k, farthest))] & within;
                break;
            }
            if (moves - k <= farthest)
                result.squares |= ahead[std::size_t(moves - k)] & within;
        }
        return result;
    }

    // The open squares at most moves from start through open squares.
    Bits nearby(int start, int moves, Bits open) const
    {
        Bits seen = 0;
        Bits frontier = bit(start);
        for (int d = 1; d <= moves && frontier; ++d) {
            frontier = reach(frontier) & open & ~seen;
            seen |= frontier;
        }
        return seen;
    }

    // Whether the position may still lead to a solution, by what the board shows at once; the
    // cheap looks first.
    bool hopeful(Bits free, int current) const
    {
        // Every free square is entered and, but for the last, left: it needs two ways, from free
        // squares or the knight; only the last square may have one. Counted up to two for all
        // squares at once.
        Bits one = 0;
        Bits two = 0;
        for (const Jump &jump : jumps_) {
            const Bits moving = (free | bit(current)) & jump.from;
            const Bits reached = jump.shift > 0 ? moving << jump.shift : moving >> -jump.shift;
            two |= one & reached;
            one |= reached;
        }
        const Bits single = free & ~two;
        const int end = squareAt_[std::size_t(count_)];
        if ((free & ~one) || (end >= 0 ? (single & ~bit(end)) != 0 : count(single) > 1))
            return false;
        // The free squares hang together with the knight.
        Bits joined = bit(current);
        for (Bits grown = joined; grown;) {
            grown = reach(grown) & free & ~joined;
            joined |= grown;
        }
        if (free & ~joined)
            return false;
        // The walk to come falls into passages between given numbers (the first from the
        // knight, the last to the end of the walk): each given number must be reachable in time
        // from the one before it over free squares without numbers, and each such square must
        // lie on the way of some passage.
        const int step = int(path_.size()); // the knight's move number
        const Bits open = free & ~given_;
        Bits covered = 0;
        int from = step;
        int at = current;
        for (int next = nextGiven_[std::size_t(step)]; next != 0; next = nextGiven_[std::size_t(next)]) {
            const int target = squareAt_[std::size_t(next)];
            const Passage way = passage(at, target, next - from, open);
            if (!way.reachable)
                return false;
            covered |= way.squares;
            from = next;
            at = target;
        }
        if (from < count_)
            covered |= nearby(at, count_ - from, open);
        return (open & ~covered) == 0;
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
        const int step = int(path_.size()) + 1;
        const int fixed = squareAt_[std::size_t(step)];
        Bits choices = board_.knightTargets(current) & free & (fixed >= 0 ? bit(fixed) : ~given_);
        // Fewest onward moves first: a solution, when there is one, is found soon.
        std::array<std::pair<int, int>, 8> order{};
        std::size_t size = 0;
        for (; choices; choices &= choices - 1) {
            const int n = std::countr_zero(choices);
            order[size++] = {count(board_.knightTargets(n) & free), n};
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
    // The knight's eight directions of jump as shifts of the board's bits.
    struct Jump {
        int shift = 0;
        Bits from = 0; // the squares whose jump stays on the board
    };
    std::array<Jump, 8> jumps_{};
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
    if (!agrees(puzzle, walk))
        return noSolution();
    return PuzzleSearch(puzzle, limit, bound, nodeLimit).run(walk);
}

} // namespace knight
