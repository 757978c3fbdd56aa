// SPDX-License-Identifier: GPL-3.0-or-later
#include "puzzle/puzzle.h"

#include "solver/tour_solver.h"

#include <algorithm>
#include <bit>
#include <random>

namespace knight {

namespace {

using Bits = TourSolver::Bits;

// The same seed gives the same numbers everywhere: mt19937_64's output is fixed by the
// standard, and the reduction to a range is our own.
class Dice
{
public:
    explicit Dice(std::uint64_t seed) : engine_(seed) {}
    int below(int n) { return int(engine_() % std::uint64_t(n)); }
    template<typename T>
    void shuffle(std::vector<T> &items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[std::size_t(below(int(i)))]);
    }

private:
    std::mt19937_64 engine_;
};

constexpr int warnsdorffAttempts = 2000;
constexpr std::chrono::milliseconds solverBound{3000};
// Removal is bounded by positions, not time, so that a seed gives the same puzzle on any machine.
constexpr std::uint64_t removalNodes = 200000;
constexpr std::chrono::milliseconds removalBound{60000};

// A tour by Warnsdorff's rule (fewest onward moves first), ties broken by the dice; empty when
// the knight gets stuck or the tour does not close.
std::vector<int> warnsdorffTour(const TourSolver &board, int start, bool closed, Dice &dice)
{
    const int count = board.squareCount();
    Bits free = (count == 64 ? ~Bits{0} : (Bits{1} << count) - 1) & ~(Bits{1} << start);
    std::vector<int> tour{start};
    while (free) {
        int best = -1;
        int fewest = 9;
        int ties = 0;
        for (Bits next = board.knightTargets(tour.back()) & free; next; next &= next - 1) {
            const int n = std::countr_zero(next);
            const int onward = std::popcount(board.knightTargets(n) & free);
            if (onward < fewest) {
                fewest = onward;
                best = n;
                ties = 1;
            } else if (onward == fewest && dice.below(++ties) == 0) {
                best = n;
            }
        }
        if (best < 0)
            return {};
        tour.push_back(best);
        free &= ~(Bits{1} << best);
    }
    if (closed && !(board.knightTargets(tour.back()) & (Bits{1} << start)))
        return {};
    return tour;
}

std::vector<int> randomTour(int files, int ranks, bool closed, Dice &dice)
{
    TourSolver board(files, ranks);
    for (int attempt = 0; attempt < warnsdorffAttempts; ++attempt) {
        if (auto tour = warnsdorffTour(board, dice.below(board.squareCount()), closed, dice); !tour.empty())
            return tour;
    }
    // Small boards where the rule rarely works: the exact solver from each square in turn.
    std::vector<int> starts(std::size_t(board.squareCount()));
    for (std::size_t n = 0; n < starts.size(); ++n)
        starts[n] = int(n);
    dice.shuffle(starts);
    for (const int start : starts) {
        const auto verdict = board.solve({start}, solverBound,
                                         closed ? TourSolver::Goal::Closed : TourSolver::Goal::Open);
        if (verdict.answer == TourSolver::Answer::Yes)
            return verdict.tour;
    }
    return {};
}

} // namespace

int givenTarget(Level level, int squares)
{
    // Easy leaves half of the numbers, medium a third, hard a quarter.
    constexpr int parts[] = {2, 3, 4};
    return std::max(2, (squares + parts[int(level)] - 1) / parts[int(level)]);
}

std::optional<Puzzle> generatePuzzle(int files, int ranks, Level level, std::uint64_t seed, bool closed)
{
    Dice dice(seed);
    Puzzle puzzle;
    puzzle.files = files;
    puzzle.ranks = ranks;
    puzzle.closed = closed;
    puzzle.solution = randomTour(files, ranks, closed, dice);
    if (puzzle.solution.empty())
        return std::nullopt;
    const int count = puzzle.squareCount();
    puzzle.given.assign(std::size_t(count), 0);
    for (int step = 1; step <= count; ++step)
        puzzle.given[std::size_t(puzzle.solution[std::size_t(step) - 1])] = step;

    // Take numbers away in a random order; one whose absence lets another tour in, or that the
    // solver cannot decide on in time, goes back.
    std::vector<int> removable;
    for (int step = 2; step < count; ++step)
        removable.push_back(puzzle.solution[std::size_t(step) - 1]);
    dice.shuffle(removable);
    int left = count;
    const int target = givenTarget(level, count);
    for (const int n : removable) {
        if (left <= target)
            break;
        const int step = puzzle.given[std::size_t(n)];
        puzzle.given[std::size_t(n)] = 0;
        if (countSolutions(puzzle, {}, 2, removalBound, removalNodes).answer == PuzzleCount::Answer::One)
            --left;
        else
            puzzle.given[std::size_t(n)] = step;
    }
    puzzle.work = countSolutions(puzzle, {}, 2, removalBound, removalNodes).nodes;
    return puzzle;
}

} // namespace knight
