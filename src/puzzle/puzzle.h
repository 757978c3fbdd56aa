// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace knight {

// A knight's-tour puzzle: some squares of a board carry their move numbers, and the pupil
// writes in the rest so that consecutive numbers are a knight's move apart. Square n stands on
// rank n / files, file n % files, as everywhere in the program.
struct Puzzle {
    int files = 8;
    int ranks = 8;
    bool closed = false;        // the last square is a knight's move from the first
    std::vector<int> given;     // each square's move number, 1 .. squares; 0 where not given
    std::vector<int> solution;  // the one tour, in move order (the generator's, kept for the key)
    std::uint64_t work = 0;     // positions the solver searched to prove the solution the only one

    int squareCount() const { return files * ranks; }
    int givenCount() const;
};

enum class Level { Easy, Medium, Hard };

// The boards puzzles are made for: each has open tours; closedTours says whether it has closed
// ones too.
struct PuzzleBoard {
    int files;
    int ranks;
    bool closedTours;
};
inline constexpr std::array<PuzzleBoard, 7> puzzleBoards{{
    {3, 4, false}, {3, 7, false}, {4, 5, false}, {5, 5, false}, {6, 6, true}, {7, 7, false}, {8, 8, true},
}};

// How many completions a puzzle has, counted up to a limit.
struct PuzzleCount {
    enum class Answer { None, One, Many, Undecided };
    Answer answer = Answer::Undecided;
    std::uint64_t solutions = 0;   // found, at most the limit
    std::vector<int> first;        // the first completion found, in move order
    std::uint64_t nodes = 0;       // positions searched: the puzzle's hardness
};

// Counts the tours that agree with every given number and begin with walk (which may be empty;
// it must agree too). Answers Undecided when the time bound passes or more than nodeLimit
// positions were searched, never a guess. With a limit of 1, One means at least one.
PuzzleCount countSolutions(const Puzzle &puzzle, const std::vector<int> &walk = {}, std::uint64_t limit = 2,
                           std::chrono::milliseconds bound = std::chrono::milliseconds(2000),
                           std::uint64_t nodeLimit = UINT64_MAX);

// The number a square must carry, or why the move to it breaks the puzzle: the move number
// step (1 for the first square) on square n.
enum class ClueConflict {
    None,
    SquareHasOtherNumber, // n is given another number
    NumberIsElsewhere,    // this number is given on another square
};
ClueConflict conflictOf(const Puzzle &puzzle, int step, int n);
// The square given number step, or -1.
int squareOfStep(const Puzzle &puzzle, int step);

// A puzzle with exactly one solution, made from a random tour of the board (the same seed gives
// the same puzzle): numbers are taken away while the solution stays the only one, down to the
// level's share of the squares. The first and the last number are always kept. Empty when the
// board has no tour of the goal asked for.
std::optional<Puzzle> generatePuzzle(int files, int ranks, Level level, std::uint64_t seed, bool closed = false);

// How many numbers a level leaves on a board of this many squares.
int givenTarget(Level level, int squares);

} // namespace knight
