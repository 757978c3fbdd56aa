// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver_corpus.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
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

// The solver's cost of a position: the least of three timings, to shrug off a busy machine.
long long costOf(TourSolver &solver, const Walk &walk)
{
    long long best = -1;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        solver.solve(walk, std::chrono::seconds(5));
        const long long ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
        best = best < 0 ? ns : std::min(best, ns);
    }
    return best;
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

void huntHardPositions(int candidates, std::FILE *out)
{
    TourSolver solver;
    std::mt19937 random(20261209);
    constexpr int climbs = 100;
    const int steps = std::max(1, candidates / climbs);
    std::vector<std::pair<long long, Walk>> found;
    for (int climb = 0; climb < climbs; ++climb) {
        const bool warnsdorff = climb % 2 == 1;
        Walk best{int(random() % 64)};
        playOn(solver, best, 1 + random() % 63, warnsdorff, random);
        long long bestCost = costOf(solver, best);
        for (int step = 1; step < steps; ++step) {
            Walk candidate(best.begin(), best.begin() + std::ptrdiff_t(1 + random() % best.size()));
            playOn(solver, candidate, candidate.size() + random() % (65 - candidate.size()), random() % 2, random);
            if (const long long cost = costOf(solver, candidate); cost >= bestCost) {
                best = candidate;
                bestCost = cost;
            }
        }
        found.emplace_back(bestCost, best);
    }
    std::sort(found.begin(), found.end(), std::greater<>());
    std::fprintf(out, "# The hardest positions that knight-bench hunt %d found, the hardest first, each\n"
                      "# followed by its board symmetries.\n", candidates);
    std::set<Walk> written;
    for (std::size_t i = 0; i < found.size() && i < 30; ++i) {
        for (const Walk &walk : symmetries(found[i].second)) {
            if (!written.insert(walk).second)
                continue;
            for (std::size_t k = 0; k < walk.size(); ++k)
                std::fprintf(out, "%s%s", k ? " " : "", nameOf(walk[k]).c_str());
            std::fprintf(out, "\n");
        }
    }
}

} // namespace knight::bench
