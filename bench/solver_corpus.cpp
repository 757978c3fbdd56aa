// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver_corpus.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <tuple>
#include <sstream>

namespace knight::bench {

namespace {

using Bits = std::uint64_t;

// Plays on from the walk to the target length or until stuck.
void playOn(const TourSolver &solver, Walk &walk, std::size_t length, bool warnsdorff, std::mt19937 &random)
{
    Bits used = 0;
    for (const int n : walk)
        used |= Bits{1} << n;
    while (walk.size() < length) {
        std::vector<int> next;
        for (Bits rest = solver.knightTargets(walk.back()) & ~used; rest; rest &= rest - 1)
            next.push_back(std::countr_zero(rest));
        if (next.empty())
            break;
        int pick = next[random() % next.size()];
        if (warnsdorff && random() % 5 != 0) {
            const auto onward = [&](int n) {
                return std::popcount(solver.knightTargets(n) & ~used & ~(Bits{1} << n));
            };
            pick = *std::min_element(next.begin(), next.end(), [&](int a, int b) { return onward(a) < onward(b); });
        }
        walk.push_back(pick);
        used |= Bits{1} << pick;
    }
}

std::string nameOf(int n)
{
    return {char('a' + n % 8), char('1' + n / 8)};
}

// The eight symmetries of the board, applied to every square of a walk.
std::vector<Walk> symmetries(const Walk &walk)
{
    std::vector<Walk> all;
    for (int s = 0; s < 8; ++s) {
        Walk image;
        for (const int n : walk) {
            int f = n % 8;
            int r = n / 8;
            if (s & 1)
                f = 7 - f;
            if (s & 2)
                r = 7 - r;
            if (s & 4)
                std::swap(f, r);
            image.push_back(r * 8 + f);
        }
        all.push_back(image);
    }
    return all;
}

// The solver's cost of a position: the positions it searched, the same on any machine and
// under any load, unlike its time.
std::uint64_t costOf(TourSolver &solver, const Walk &walk, TourSolver::Goal goal)
{
    return solver.solve(walk, std::chrono::seconds(60), goal).nodes;
}

std::string lineOf(const Walk &walk)
{
    std::string line;
    for (const int n : walk) {
        if (!line.empty())
            line += ' ';
        line += nameOf(n);
    }
    return line;
}

} // namespace

std::vector<Walk> seededCorpus(const TourSolver &solver)
{
    constexpr int corpusSize = 10000;
    std::mt19937 random(20261208);
    std::vector<Walk> corpus;
    for (int w = 0; w < corpusSize; ++w) {
        Walk walk{int(random() % 64)};
        const std::size_t length = 1 + random() % 63;
        playOn(solver, walk, length, w % 2 == 1, random);
        corpus.push_back(walk);
    }
    return corpus;
}

std::vector<Walk> readCorpus(const std::string &path)
{
    std::vector<Walk> corpus;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        Walk walk;
        for (std::string word; words >> word;)
            walk.push_back((word[1] - '1') * 8 + (word[0] - 'a'));
        if (!walk.empty())
            corpus.push_back(walk);
    }
    return corpus;
}

void huntHardPositions(int candidates, const std::string &keptPath, std::FILE *out)
{
    using Goal = TourSolver::Goal;
    TourSolver solver;
    std::mt19937 random(20261209);
    constexpr int climbs = 100;
    constexpr std::size_t keptPerGoal = 30;
    const int steps = std::max(1, candidates / climbs);
    std::array<std::vector<std::pair<std::uint64_t, Walk>>, 2> found;
    for (int climb = 0; climb < climbs; ++climb) {
        const Goal goal = climb % 2 ? Goal::Closed : Goal::Open;
        Walk best{int(random() % 64)};
        playOn(solver, best, 1 + random() % 63, climb / 2 % 2 == 1, random);
        std::uint64_t bestCost = costOf(solver, best, goal);
        for (int step = 1; step < steps; ++step) {
            Walk candidate;
            const unsigned move = random() % 4;
            if (move == 0) { // a mirror or a turn: the search tries the moves in another order
                candidate = symmetries(best)[1 + random() % 7];
            } else {
                // A step near the best (its last few moves played otherwise) or a leap from
                // anywhere along it.
                const std::size_t kept = move == 1 ? best.size() - std::min<std::size_t>(best.size() - 1, 1 + random() % 4)
                                                   : 1 + random() % best.size();
                candidate.assign(best.begin(), best.begin() + std::ptrdiff_t(kept));
                playOn(solver, candidate, candidate.size() + random() % (65 - candidate.size()), random() % 2, random);
            }
            if (const std::uint64_t cost = costOf(solver, candidate, goal); cost >= bestCost) {
                best = candidate;
                bestCost = cost;
            }
        }
        found[std::size_t(goal)].emplace_back(bestCost, best);
    }

    // The kept positions stay; the hardest new ones for each goal join them, each with its
    // symmetries, the dearest first.
    std::set<Walk> written;
    std::vector<Walk> all;
    const auto keep = [&](const Walk &walk) {
        for (const Walk &image : symmetries(walk)) {
            if (written.insert(image).second)
                all.push_back(image);
        }
    };
    for (const Walk &walk : readCorpus(keptPath))
        keep(walk);
    for (auto &ofGoal : found) {
        std::sort(ofGoal.begin(), ofGoal.end(), std::greater<>());
        for (std::size_t i = 0; i < ofGoal.size() && i < keptPerGoal; ++i)
            keep(ofGoal[i].second);
    }
    std::vector<std::tuple<std::uint64_t, std::uint64_t, Walk>> costed;
    for (const Walk &walk : all)
        costed.emplace_back(costOf(solver, walk, Goal::Open), costOf(solver, walk, Goal::Closed), walk);
    // The dearest first; among equals, by the walk, so that a hunt run again on its own file
    // writes it back unchanged.
    std::sort(costed.begin(), costed.end(), [](const auto &a, const auto &b) {
        const std::uint64_t costA = std::max(std::get<0>(a), std::get<1>(a));
        const std::uint64_t costB = std::max(std::get<0>(b), std::get<1>(b));
        return costA != costB ? costA > costB : std::get<2>(a) < std::get<2>(b);
    });
    std::fprintf(out, "# The hardest positions that knight-bench hunt %d found, climbing on the positions\n"
                      "# the solver searched for an open and for a closed tour, each position with its board\n"
                      "# symmetries, together with those kept before; the dearest first.\n", candidates);
    for (const auto &[open, closed, walk] : costed)
        std::fprintf(out, "%s  # open %llu, closed %llu\n", lineOf(walk).c_str(), (unsigned long long)open,
                     (unsigned long long)closed);
}

} // namespace knight::bench
