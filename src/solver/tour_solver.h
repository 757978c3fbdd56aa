// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace knight {

// Can a knight's walk still be continued to visit every square of the board once? The board
// is any rectangle of at most 64 squares; square n stands on rank n / files, file n % files,
// so that on 8 x 8 square 0 is a1 and 63 is h8.
class TourSolver
{
public:
    using Bits = std::uint64_t;
    using Clock = std::chrono::steady_clock;

    enum class Answer { Yes, No, Undecided };
    // An open tour ends anywhere; a closed one one knight's move from its first square.
    enum class Goal { Open, Closed };

    // Why a walk cannot be continued. The simple reasons are proved by looking at the board;
    // Exhausted means the search tried every continuation.
    enum class Reason {
        None,
        DeadEnd,       // the knight has no free square to go to
        Unreachable,   // squares[0] has no free square nor the knight next to it
        TwoEnds,       // squares: each has one way in, and only one can be the last
        Split,         // squares: one from each part of the free squares
        Crowded,       // squares[0] is one of the two ways of all the others, more than it can
                       // serve even if one of them is the last square
        CrowdedBesideEnd, // as Crowded, but the last square is the one named last, which has a
                          // single way in, so none of the others can be last
        WrongColour,   // squares[0] can only be last, but the last square has the other colour
        NoWayBack,     // closed: squares[0], the first square, has no free square next to it
        NotClosed,     // closed: the walk is whole, but its last square, squares[1], is not a
                       // knight's move from its first, squares[0]
        Exhausted,     // no continuation works, and no short claim shows why
        TimeOut,
    };

    struct Verdict {
        Answer answer = Answer::Undecided;
        Reason reason = Reason::None;
        std::vector<int> squares;   // the squares the reason names
        int knight = -1;            // the knight's square, the walk's last
        Goal goal = Goal::Open;
        std::vector<int> tour;      // Yes: the whole tour, the walk first
        std::uint64_t nodes = 0;    // positions searched
    };

    TourSolver(int files = 8, int ranks = 8);

    int files() const { return files_; }
    int ranks() const { return ranks_; }
    int squareCount() const { return count_; }
    // Every knight's move changes colour: the colour, 0 or 1, is (rank + file) % 2.
    int colourOf(int n) const { return (n / files_ + n % files_) % 2; }
    Bits knightTargets(int n) const { return moves_[std::size_t(n)]; }

    // The walk must be legal (knight's moves, no square twice); an empty walk may start
    // anywhere. The search stops at the time bound and answers Undecided.
    Verdict solve(const std::vector<int> &walk,
                  std::chrono::milliseconds bound = std::chrono::milliseconds(300), Goal goal = Goal::Open);

private:
    struct Obstacle {
        Reason reason = Reason::None;
        std::vector<int> squares;
    };

    // How the free squares can still be entered: from free neighbours or from the knight.
    struct Census {
        Bits unreachable = 0; // no way in at all
        Bits ends = 0;        // at most one way in: only the last square may be like that
        Bits twoWays = 0;     // two ways: both are used unless it is the last square
    };
    Census takeCensus(Bits free, int current) const;
    static Bits spread(Bits start, Bits within, const std::array<Bits, 64> &ways);

    // The pruning steps: each proves on its own that no continuation exists.
    bool hasNoMove(Bits free, int current) const;
    bool findUnreachable(const Census &census, Obstacle *found) const;
    bool findTwoEnds(Bits free, const Census &census, Obstacle *found) const;
    bool findWrongColour(Bits free, int current, const Census &census, Obstacle *found) const;
    bool findCrowded(Bits free, int current, const Census &census, Obstacle *found) const;
    bool findSplit(Bits free, int current, const std::array<Bits, 64> &ways, Obstacle *found) const;

    // The forced moves of a position (see contradicts). A square taken by the walk
    // stays in, on the knight's chain, so that a move's position can start from the one before.
    struct Forcing {
        std::array<Bits, 64> ways;     // the moves at each square that are still possible
        std::array<Bits, 64> forced;   // the moves the walk must make there
        // For the two ends of each chain of forced moves: the other end, and the chain's length.
        std::array<std::int8_t, 64> otherEnd;
        std::array<std::int8_t, 64> chainLength;
        Bits vertices = 0;  // the free squares and the knight's when the search began
        Bits mayEnd = 0;    // the free squares where the walk may end: the last square's colour,
                            // closed next to its first
        Bits pending = 0;   // the squares to look at again
        int start = -1;     // the knight's square when the search began
        int end = -1;       // the last square, once known
        int total = 0;      // the squares of vertices
        bool broken = false; // a contradiction was found

        int fewest(int n) const;
        int most(int n) const;
        bool joinsEndsTooSoon(int a) const;
        void cut(int a, int b);
        bool force(int a, int b);
        bool chooseEnd(int square);
        bool contradicts();
    };
    void startForcing(Bits free, int current, Forcing &state) const;
    static void followMove(const Forcing &before, int from, int to, Forcing &state);
    bool findForcedContradiction(Bits free, bool everyEnd, Forcing &state, Obstacle *found) const;
    bool provedImpossible(Bits free, int current, const Census &census, bool everyEnd, Forcing &state,
                          Obstacle *found) const;
    bool cutOff(Bits free, int current, bool everyEnd, Forcing &forcing) const;

    Verdict decide(const std::vector<int> &walk);
    bool search(Bits free, int current);
    int onwardMoves(Bits free, int n) const;
    bool mustStop();

    int files_;
    int ranks_;
    int count_;
    Bits all_ = 0;
    Bits colourOne_ = 0;
    std::array<Bits, 64> moves_{};
    // The knight's eight directions of jump as shifts of the board's bits.
    struct Jumper {
        int shift = 0;
        Bits from = 0; // the squares whose jump stays on the board
        Bits land(Bits squares) const;
    };
    std::array<Jumper, 8> jumpers_{};

    // One search's state.
    std::vector<int> path_;
    std::vector<Forcing> forcing_; // one for each move of the search
    // Positions refuted in this search, open addressing; an entry of an older search has an
    // older generation and counts as empty, so a new search clears nothing.
    struct Refuted {
        Bits free = 0;
        std::uint32_t generation = 0;
        std::int32_t current = -1;
    };
    std::vector<Refuted> refuted_;
    std::uint32_t generation_ = 0;
    std::size_t refutedCount_ = 0;
    std::uint64_t nodes_ = 0;
    std::uint64_t nodeLimit_ = 0; // of one attempt; each restart doubles it
    std::uint64_t attemptNodes_ = 0;
    std::uint32_t tieBreak_ = 0;  // shuffles equal Warnsdorff counts between attempts
    Clock::time_point deadline_;
    bool timedOut_ = false;
    bool aborted_ = false;
    bool everyEnd_ = false; // try each last square in the search too, from the second attempt
    std::size_t rootLength_ = 0; // the walk's length: the search's depth is counted from it
    Goal goal_ = Goal::Open;
    int first_ = -1;   // the walk's first square
    Bits closers_ = 0; // closed: where the walk may end, the squares next to its first

    bool isRefuted(Bits free, int current) const;
    void remember(Bits free, int current);
};

} // namespace knight
