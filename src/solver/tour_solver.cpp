// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/tour_solver.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace knight {

namespace {

using Bits = TourSolver::Bits;

constexpr Bits bit(int n)
{
    return Bits{1} << n;
}

int lowest(Bits bits)
{
    return std::countr_zero(bits);
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

// How many squares, counted up to three: the walk needs one or two moves at a square.
int fewCount(Bits bits)
{
    if (!bits)
        return 0;
    bits &= bits - 1;
    if (!bits)
        return 1;
    bits &= bits - 1;
    return bits ? 3 : 2;
}

constexpr std::array<std::array<int, 2>, 8> jumps{{
    {1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2},
}};

constexpr std::size_t tableLimit = std::size_t{1} << 18; // slots for refuted positions, at most
constexpr std::size_t tableStart = std::size_t{1} << 10;  // at first: most searches need few
constexpr std::uint64_t checkEvery = 1024;                // nodes between looks at the clock
constexpr std::uint64_t firstAttemptNodes = 100;
// How many moves beyond the walk the search still tries each possible last square.
constexpr std::size_t everyEndDepth = 3;

// With fewer free squares the forced moves are not looked at: the search is as quick.
bool forcesLookedAt(Bits free)
{
    return count(free) >= 3;
}

std::size_t slotOf(Bits free, int current, std::size_t tableSize)
{
    std::uint64_t h = free * 0x9E3779B97F4A7C15ull ^ std::uint64_t(current) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    return std::size_t(h & (tableSize - 1));
}

} // namespace

TourSolver::TourSolver(int files, int ranks)
    : files_(files)
    , ranks_(ranks)
    , count_(files * ranks)
{
    all_ = count_ == 64 ? ~Bits{0} : bit(count_) - 1;
    for (int n = 0; n < count_; ++n) {
        if (colourOf(n) == 1)
            colourOne_ |= bit(n);
        const int rank = n / files_;
        const int file = n % files_;
        for (std::size_t j = 0; j < jumps.size(); ++j) {
            const auto [dr, df] = jumps[j];
            const int r = rank + dr;
            const int f = file + df;
            if (r >= 0 && r < ranks_ && f >= 0 && f < files_) {
                moves_[std::size_t(n)] |= bit(r * files_ + f);
                jumpers_[j].from |= bit(n);
            }
        }
    }
    for (std::size_t j = 0; j < jumps.size(); ++j)
        jumpers_[j].shift = jumps[j][0] * files_ + jumps[j][1];
}

// Where the squares that can jump one way land.
TourSolver::Bits TourSolver::Jumper::land(Bits squares) const
{
    squares &= from;
    return shift > 0 ? squares << shift : squares >> -shift;
}

bool TourSolver::hasNoMove(Bits free, int current) const
{
    return free != 0 && (moves_[std::size_t(current)] & free) == 0;
}

// How many ways lead into each free square: from its free neighbours and from the knight.
TourSolver::Census TourSolver::takeCensus(Bits free, int current) const
{
    // Counted up to three for all squares at once, one direction of jump at a time.
    Bits one = moves_[std::size_t(current)];
    Bits two = 0;
    Bits three = 0;
    for (const Jumper &jumper : jumpers_) {
        const Bits reached = jumper.land(free);
        three |= two & reached;
        two |= one & reached;
        one |= reached;
    }
    return {free & ~one, free & ~two, free & two & ~three};
}

// A free square with no free neighbour and not next to the knight can never be entered.
bool TourSolver::findUnreachable(const Census &census, Obstacle *found) const
{
    if (!census.unreachable)
        return false;
    if (found)
        *found = {Reason::Unreachable, {lowest(census.unreachable)}};
    return true;
}

// Every square but the last is entered and left; a square with a single way in can only be
// the last one, and only one square can be last.
bool TourSolver::findTwoEnds(Bits free, const Census &census, Obstacle *found) const
{
    if (count(free) < 2 || count(census.ends) < 2)
        return false;
    if (found) {
        std::vector<int> ends;
        for (Bits rest = census.ends; rest; rest &= rest - 1)
            ends.push_back(lowest(rest));
        *found = {Reason::TwoEnds, ends};
    }
    return true;
}

// The colours alternate along the walk: after k more moves the knight stands on its own colour
// when k is even. A square that must be last has to be of that colour, and the free squares of
// each colour must be as many as the moves that land on it.
bool TourSolver::findWrongColour(Bits free, int current, const Census &census, Obstacle *found) const
{
    const int moves = count(free);
    const int onOne = count(free & colourOne_);
    const int onOther = colourOf(current) == 0 ? onOne : moves - onOne;
    if (onOther != (moves + 1) / 2) {
        if (found)
            *found = {Reason::Exhausted, {}};
        return true;
    }
    if (!census.ends || moves < 2)
        return false;
    const int end = lowest(census.ends);
    if (colourOf(end) == (colourOf(current) + moves) % 2)
        return false;
    if (found)
        *found = {Reason::WrongColour, {end}};
    return true;
}

// The squares a knight can reach from start without leaving within.
TourSolver::Bits TourSolver::spread(Bits start, Bits within, const std::array<Bits, 64> &ways)
{
    Bits reached = start;
    for (Bits frontier = start; frontier;) {
        Bits next = 0;
        for (Bits rest = frontier; rest; rest &= rest - 1)
            next |= ways[std::size_t(lowest(rest))];
        frontier = next & within & ~reached;
        reached |= frontier;
    }
    return reached;
}

// After its next move the knight stays on free squares: they must hang together, or it could
// never cross from one part to another.
bool TourSolver::findSplit(Bits free, int current, const std::array<Bits, 64> &ways, Obstacle *found) const
{
    if (free == 0)
        return false;
    const Bits near = ways[std::size_t(current)] & free;
    const Bits reached = spread(bit(lowest(near ? near : free)), free, ways);
    if (reached == free)
        return false;
    if (found) {
        // One square of each part: the knight's own, then each one cut off from it.
        std::vector<int> parts{lowest(reached)};
        for (Bits left = free & ~reached; left; left &= ~spread(bit(lowest(left)), left, ways))
            parts.push_back(lowest(left));
        *found = {Reason::Split, parts};
    }
    return true;
}

// A square with two ways in and out must use both, unless it is the last one. The squares
// they lead to can serve at most two such neighbours (the knight's square one), plus the last.
bool TourSolver::findCrowded(Bits free, int current, const Census &census, Obstacle *found) const
{
    if (count(census.twoWays) < 2)
        return false;
    const int spare = census.ends ? 0 : 1; // a two-way square may be the last one
    const auto crowded = [&](int n, int room) {
        const Bits leaning = moves_[std::size_t(n)] & census.twoWays;
        const int leaners = count(leaning);
        if (leaners <= room + spare)
            return false;
        if (found) {
            // The claim names the squares only when it holds whichever square is last.
            std::vector<int> squares{n};
            for (Bits rest = leaning; rest; rest &= rest - 1)
                squares.push_back(lowest(rest));
            if (leaners > room + 1) {
                *found = {Reason::Crowded, squares};
            } else {
                squares.push_back(lowest(census.ends));
                *found = {Reason::CrowdedBesideEnd, squares};
            }
        }
        return true;
    };
    if (crowded(current, 1))
        return true;
    // Only squares next to two or more two-way squares can be crowded.
    Bits candidates = 0;
    Bits once = 0;
    for (Bits rest = census.twoWays; rest; rest &= rest - 1) {
        const Bits around = moves_[std::size_t(lowest(rest))] & free;
        candidates |= once & around;
        once |= around;
    }
    for (Bits rest = candidates; rest; rest &= rest - 1) {
        if (crowded(lowest(rest), 2))
            return true;
    }
    return false;
}

// The forced moves of the position from scratch: every square may still use each of its moves.
void TourSolver::startForcing(Bits free, int current, Forcing &state) const
{
    state.vertices = free | bit(current);
    state.total = count(state.vertices);
    state.start = current;
    state.end = -1;
    state.broken = false;
    const Bits lastColour = (colourOf(current) + count(free)) % 2 ? colourOne_ : all_ & ~colourOne_;
    state.mayEnd = free & lastColour & (goal_ == Goal::Closed ? closers_ : all_);
    // At first only the squares with at most two ways can have a move forced or too few ways.
    state.pending = bit(current);
    for (Bits rest = state.vertices; rest; rest &= rest - 1) {
        const int n = lowest(rest);
        const Bits ways = moves_[std::size_t(n)] & (n == current ? free : state.vertices);
        state.ways[std::size_t(n)] = ways;
        if (fewCount(ways) <= 2)
            state.pending |= bit(n);
        state.forced[std::size_t(n)] = 0;
        state.otherEnd[std::size_t(n)] = std::int8_t(n);
        state.chainLength[std::size_t(n)] = 1;
    }
}

// The knight's move from one square to the next is forced in the position after it.
void TourSolver::followMove(const Forcing &before, int from, int to, Forcing &state)
{
    state = before;
    state.pending = 0;
    state.mayEnd &= ~bit(to); // the knight's square is not the last, some square is still free
    if (!(state.ways[std::size_t(from)] & bit(to)))
        state.broken = true;
    else if (!state.broken && !(state.forced[std::size_t(from)] & bit(to)))
        state.broken = !state.force(from, to);
}

// The fewest and the most moves of the walk at square n.
int TourSolver::Forcing::fewest(int n) const
{
    if (n == start || n == end)
        return 1;
    return end < 0 && (mayEnd & bit(n)) ? 1 : 2;
}

int TourSolver::Forcing::most(int n) const
{
    return n == start || n == end ? 1 : 2;
}

// The knight's chain may reach the last square only when it holds every square.
bool TourSolver::Forcing::joinsEndsTooSoon(int a) const
{
    const int b = otherEnd[std::size_t(a)];
    return end >= 0 && ((a == start && b == end) || (a == end && b == start)) && chainLength[std::size_t(a)] < total;
}

// A square left with three ways or more has nothing forced by losing one.
void TourSolver::Forcing::cut(int a, int b)
{
    const auto fewLeft = [](Bits ways) {
        ways &= ways - 1;
        return (ways & (ways - 1)) == 0;
    };
    ways[std::size_t(a)] &= ~bit(b);
    ways[std::size_t(b)] &= ~bit(a);
    if (fewLeft(ways[std::size_t(a)]))
        pending |= bit(a);
    if (fewLeft(ways[std::size_t(b)]))
        pending |= bit(b);
}

// From now on the walk ends at square, and every other square needs two moves; true when
// that joins the knight to the last square too soon.
bool TourSolver::Forcing::chooseEnd(int square)
{
    end = square;
    pending |= mayEnd | bit(end); // the squares whose needs change
    return fewCount(forced[std::size_t(end)]) == 1 && joinsEndsTooSoon(end);
}

// Forces the move a-b; false when that is impossible.
bool TourSolver::Forcing::force(int a, int b)
{
    if (fewCount(forced[std::size_t(a)]) >= most(a) || fewCount(forced[std::size_t(b)]) >= most(b))
        return false;
    const int endA = otherEnd[std::size_t(a)];
    const int endB = otherEnd[std::size_t(b)];
    if (endA == b)
        return false; // a circle
    forced[std::size_t(a)] |= bit(b);
    forced[std::size_t(b)] |= bit(a);
    pending |= bit(a) | bit(b);
    otherEnd[std::size_t(endA)] = std::int8_t(endB);
    otherEnd[std::size_t(endB)] = std::int8_t(endA);
    chainLength[std::size_t(endA)] = chainLength[std::size_t(endB)] =
        std::int8_t(chainLength[std::size_t(endA)] + chainLength[std::size_t(endB)]);
    // Of two squares, the move that joins them is the chain itself.
    if (chainLength[std::size_t(endA)] > 2)
        cut(endA, endB);
    return !joinsEndsTooSoon(endA);
}

// Every free square is entered and left once, but the last one, which is only entered; the
// knight's square is left once. A square with no more ways than it needs must use them all;
// one whose needs are met by such forced moves loses its other ways. A square that may be
// last with a single way left must be the last one, and from then on every other square
// needs two. Forced moves form chains; a move that would close a chain into a circle is
// lost, and so is one that would join the knight to the last square before every square is
// in the chain. Spread to a standstill, this ends in a contradiction when a square has fewer
// ways than it needs, or more forced moves than it can take.
bool TourSolver::Forcing::contradicts()
{
    while (pending && !broken) {
        const int n = lowest(pending);
        pending &= pending - 1;
        const Bits own = ways[std::size_t(n)];
        const int owned = fewCount(own);
        if (end < 0 && owned == 1 && n != start && (mayEnd & bit(n)) && chooseEnd(n)) {
            broken = true;
            break;
        }
        const Bits sure = forced[std::size_t(n)];
        const int sureCount = fewCount(sure);
        const int needs = fewest(n);
        const int takes = most(n);
        if (owned < needs || sureCount > takes) {
            broken = true;
        } else if (needs == takes && owned == takes && sure != own) {
            for (Bits other = own & ~sure; other && !broken; other &= other - 1)
                broken = !force(n, lowest(other));
        } else if (sureCount == takes && own != sure) {
            for (Bits other = own & ~sure; other; other &= other - 1)
                cut(n, lowest(other));
        }
        pending &= ~bit(n); // what it just did leaves nothing more to do here
    }
    return broken;
}

// The forced moves with the last square known, when a square can only be last; otherwise
// with it unknown and then, when every square is to be tried, with each square that may be
// last taken as the last in turn: a contradiction for each of them refutes the walk.
bool TourSolver::findForcedContradiction(Bits free, bool everyEnd, Forcing &state, Obstacle *found) const
{
    if (!forcesLookedAt(free))
        return false;
    const auto refuted = [found] {
        if (found)
            *found = {Reason::Exhausted, {}};
        return true;
    };
    const Bits ends = state.mayEnd;
    if (!ends)
        return refuted();
    if (state.end < 0 && count(ends) == 1 && state.chooseEnd(lowest(ends)))
        return refuted();
    if (state.contradicts())
        return refuted();
    if (!everyEnd || state.end >= 0)
        return false;
    for (Bits rest = ends; rest; rest &= rest - 1) {
        Forcing trial = state;
        if (!trial.chooseEnd(lowest(rest)) && !trial.contradicts())
            return false;
    }
    return refuted();
}

// At the start, every check in turn, so that the reason given is the simplest one a pupil
// can check on the board.
bool TourSolver::provedImpossible(Bits free, int current, const Census &census, bool everyEnd, Forcing &state,
                                  Obstacle *found) const
{
    if (goal_ == Goal::Closed && free != 0 && !(free & closers_)) {
        if (found)
            *found = {Reason::NoWayBack, {first_}};
        return true;
    }
    if (hasNoMove(free, current)) {
        if (found)
            *found = {Reason::DeadEnd, {current}};
        return true;
    }
    return findUnreachable(census, found) || findTwoEnds(free, census, found)
           || findWrongColour(free, current, census, found) || findCrowded(free, current, census, found)
           || findSplit(free, current, moves_, found) || findForcedContradiction(free, everyEnd, state, found);
}

// In the search the forced moves come first: they also find a square without ways, two squares
// that can only be last and a last square of the wrong colour. Besides them only what they
// miss: crowded squares while the last square is unknown, and free squares that fall apart
// over the moves still possible.
bool TourSolver::cutOff(Bits free, int current, bool everyEnd, Forcing &forcing) const
{
    if (hasNoMove(free, current) || findForcedContradiction(free, everyEnd, forcing, nullptr))
        return true;
    if (!forcesLookedAt(free))
        return findSplit(free, current, moves_, nullptr);
    return (forcing.end < 0 && findCrowded(free, current, takeCensus(free, current), nullptr))
           || findSplit(free, current, forcing.ways, nullptr);
}

int TourSolver::onwardMoves(Bits free, int n) const
{
    return count(moves_[std::size_t(n)] & free);
}

// The time bound ends the search (the clock is read at the first node, then every so often);
// the node limit ends one attempt, to start the next with
// another order of equal moves.
bool TourSolver::mustStop()
{
    if (!timedOut_ && nodes_ % checkEvery == 1 && Clock::now() >= deadline_)
        timedOut_ = true;
    if (timedOut_ || ++attemptNodes_ > nodeLimit_)
        aborted_ = true;
    return aborted_;
}

bool TourSolver::isRefuted(Bits free, int current) const
{
    if (refutedCount_ == 0)
        return false;
    const std::size_t size = refuted_.size();
    for (std::size_t slot = slotOf(free, current, size);; slot = (slot + 1) & (size - 1)) {
        const Refuted &entry = refuted_[slot];
        if (entry.generation != generation_)
            return false;
        if (entry.free == free && entry.current == current)
            return true;
    }
}

// The table grows as a search needs it, so that a quick search pays for no large one.
void TourSolver::remember(Bits free, int current)
{
    if (refuted_.empty())
        refuted_.resize(tableStart);
    if (refutedCount_ >= refuted_.size() / 2) {
        if (refuted_.size() == tableLimit)
            return; // full enough: the search goes on without new entries
        std::vector<Refuted> old(refuted_.size() * 2);
        old.swap(refuted_);
        refutedCount_ = 0;
        for (const Refuted &entry : old) {
            if (entry.generation == generation_)
                remember(entry.free, entry.current);
        }
    }
    const std::size_t size = refuted_.size();
    std::size_t slot = slotOf(free, current, size);
    while (refuted_[slot].generation == generation_)
        slot = (slot + 1) & (size - 1);
    refuted_[slot] = {free, generation_, current};
    ++refutedCount_;
}

// Depth first in Warnsdorff's order: the square with the fewest onward moves first, so that
// a continuation is usually found without a step back.
bool TourSolver::search(Bits free, int current)
{
    if (free == 0)
        return goal_ == Goal::Open || (closers_ & bit(current));
    ++nodes_;
    if (mustStop() || isRefuted(free, current))
        return false;
    // The forced moves of the walk so far, and the move just made; the walk's own were spread
    // before the search began.
    const std::size_t depth = path_.size() - rootLength_;
    Forcing &forcing = forcing_[depth];
    if (depth > 0)
        followMove(forcing_[depth - 1], path_[path_.size() - 2], current, forcing);
    // Each last square is tried near the root only: there a proof cuts off the most, while
    // deeper down the checks that cost less do nearly as well.
    const bool everyEnd = everyEnd_ && depth < everyEndDepth;
    if (cutOff(free, current, everyEnd, forcing)) {
        remember(free, current);
        return false;
    }
    // The moves that the forced moves have not ruled out.
    const bool forced = forcesLookedAt(free);
    const Bits onward = moves_[std::size_t(current)] & free & (forced ? forcing.ways[std::size_t(current)] : all_);

    // Fewest onward moves first; among equals the one farthest from the square that must be
    // last, so that the walk ends there; then an order that changes from attempt to attempt.
    const int end = forced ? forcing.end : -1;
    std::array<std::pair<std::uint32_t, int>, 8> order{};
    int count = 0;
    for (Bits rest = onward; rest; rest &= rest - 1) {
        const int n = lowest(rest);
        std::uint32_t nearEnd = 0;
        if (end >= 0) {
            const int dr = n / files_ - end / files_;
            const int df = n % files_ - end % files_;
            nearEnd = std::uint32_t(255 - std::min(255, dr * dr + df * df));
        }
        // Nearer the centre later: the edges are the hard part to fill at the end.
        const int rowOff = 2 * (n / files_) - (ranks_ - 1);
        const int colOff = 2 * (n % files_) - (files_ - 1);
        const std::uint32_t central = std::uint32_t(std::max(0, 15 - (std::abs(rowOff) + std::abs(colOff)) / 2));
        const std::uint32_t shuffle = tieBreak_ == 0 ? central : (std::uint32_t(n) * 2654435761u ^ tieBreak_) >> 24;
        order[std::size_t(count++)] = {std::uint32_t(onwardMoves(free & ~bit(n), n)) << 16 | nearEnd << 8 | shuffle, n};
    }
    std::sort(order.begin(), order.begin() + count);
    for (int i = 0; i < count; ++i) {
        const int next = order[std::size_t(i)].second;
        path_.push_back(next);
        if (search(free & ~bit(next), next))
            return true;
        path_.pop_back();
        if (aborted_)
            return false;
    }
    remember(free, current);
    return false;
}

TourSolver::Verdict TourSolver::solve(const std::vector<int> &walk, std::chrono::milliseconds bound, Goal goal)
{
    deadline_ = Clock::now() + bound;
    timedOut_ = false;
    goal_ = goal;
    Verdict verdict = decide(walk);
    verdict.goal = goal;
    return verdict;
}

TourSolver::Verdict TourSolver::decide(const std::vector<int> &walk)
{
    Verdict verdict;
    nodes_ = 0;
    refutedCount_ = 0;
    if (++generation_ == 0) { // after four billion searches the stamps start again
        refuted_.assign(refuted_.size(), Refuted{});
        generation_ = 1;
    }

    if (walk.empty()) {
        // Any square may be the first: the corners, whose moves are fewest, first.
        std::vector<int> starts(static_cast<std::size_t>(count_));
        for (int n = 0; n < count_; ++n)
            starts[std::size_t(n)] = n;
        std::stable_sort(starts.begin(), starts.end(), [this](int a, int b) {
            return count(moves_[std::size_t(a)]) < count(moves_[std::size_t(b)]);
        });
        bool anyUndecided = false;
        for (const int start : starts) {
            Verdict from = decide({start});
            verdict.nodes += from.nodes;
            if (from.answer == Answer::Yes) {
                from.nodes = verdict.nodes;
                return from;
            }
            anyUndecided = anyUndecided || from.answer == Answer::Undecided;
            if (timedOut_)
                break;
        }
        verdict.answer = anyUndecided ? Answer::Undecided : Answer::No;
        verdict.reason = anyUndecided ? Reason::TimeOut : Reason::Exhausted;
        return verdict;
    }

    Bits free = all_;
    for (const int n : walk)
        free &= ~bit(n);
    const int current = walk.back();
    verdict.knight = current;
    first_ = walk.front();
    closers_ = moves_[std::size_t(first_)];
    if (free == 0 && goal_ == Goal::Closed && !(closers_ & bit(current))) {
        verdict.answer = Answer::No;
        verdict.reason = Reason::NotClosed;
        verdict.squares = {first_, current};
        return verdict;
    }
    Obstacle obstacle;
    forcing_.resize(std::size_t(count_));
    startForcing(free, current, forcing_[0]);
    if (provedImpossible(free, current, takeCensus(free, current), true, forcing_[0], &obstacle)) {
        verdict.answer = Answer::No;
        verdict.reason = obstacle.reason;
        verdict.squares = obstacle.squares;
        return verdict;
    }
    // Attempts with a doubling node limit; refuted positions stay refuted across them.
    bool found = false;
    rootLength_ = walk.size();
    nodeLimit_ = firstAttemptNodes;
    tieBreak_ = 0;
    everyEnd_ = false;
    for (;;) {
        path_ = walk;
        attemptNodes_ = 0;
        aborted_ = false;
        found = search(free, current);
        if (found || !aborted_ || timedOut_)
            break;
        nodeLimit_ *= 2;
        tieBreak_ = tieBreak_ * 1664525u + 1013904223u;
        everyEnd_ = true;
    }
    verdict.nodes = nodes_;
    if (found) {
        verdict.answer = Answer::Yes;
        verdict.tour = path_;
    } else if (timedOut_) {
        verdict.reason = Reason::TimeOut;
    } else {
        verdict.answer = Answer::No;
        verdict.reason = Reason::Exhausted;
    }
    path_.clear();
    return verdict;
}

} // namespace knight
