// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/colors.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>

namespace knight {

inline constexpr int boardSide = 8;
inline constexpr int squareCount = boardSide * boardSide;

// Square n: row n / 8 counted from the bottom, column n % 8 from the left; 0 is a1, 63 is h8.
constexpr int squareRow(int n) { return n / boardSide; }
constexpr int squareColumn(int n) { return n % boardSide; }
constexpr int squareAt(int row, int column) { return boardSide * row + column; }
constexpr bool isSquare(int n) { return n >= 0 && n < squareCount; }

// A board of files x ranks squares with a1 in its bottom-left corner. A square keeps its
// number on every board (rank n / 8, file n % 8): a smaller board is a corner of the 8 x 8
// one, and a square's name is the same on all of them.
struct BoardShape {
    int files = boardSide;
    int ranks = boardSide;

    constexpr int count() const { return files * ranks; }
    // Row and column counted from 0; a knight's move off the board gives a negative or too large one.
    constexpr bool holds(int row, int column) const { return row >= 0 && row < ranks && column >= 0 && column < files; }
    constexpr bool contains(int n) const { return isSquare(n) && holds(squareRow(n), squareColumn(n)); }
    // The numbering of the solver, which packs a board's squares rank by rank, files to a rank.
    constexpr int packed(int n) const { return squareRow(n) * files + squareColumn(n); }
    constexpr int unpacked(int index) const { return squareAt(index / files, index % files); }

    friend constexpr bool operator==(const BoardShape &, const BoardShape &) = default;
};

// The boards offered, the small ones that have a tour first; the last is the designed board.
inline constexpr std::array<BoardShape, 7> offeredShapes{{{3, 4}, {3, 7}, {4, 5}, {5, 5}, {6, 6}, {7, 7}, {8, 8}}};

constexpr bool isOffered(BoardShape shape) { return std::ranges::find(offeredShapes, shape) != offeredShapes.end(); }

// Light when row + column is odd: a1 and h8 are dark, h1 and a8 light.
constexpr Color baseColor(int n)
{
    return (squareRow(n) + squareColumn(n)) % 2 != 0 ? lightColor : darkColor;
}

// "a1" .. "h8".
QString chessName(int n);
// The file (0 for a .. 7 for h) that a letter names: a to h in either case, or the Cyrillic
// look-alikes а, с, е in either case; -1 for any other character.
int fileOfLetter(char32_t letter);
// The square a chess name denotes, or -1 when the text is not one.
int squareNamed(QStringView name);

// Positions and sizes in twips, from the top-left corner of the container.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

// The board grows right and upwards from the template square, edge to edge.
constexpr TwipsRect squareRect(int n, TwipsRect templateRect)
{
    return {templateRect.left + templateRect.width * squareColumn(n),
            templateRect.top - templateRect.height * squareRow(n), templateRect.width,
            templateRect.height};
}

// The template square of a board of another shape, from the designed one (a1 of 8 x 8): the
// board keeps the designed board's place and fills as much of it as its longer side allows,
// centred, its squares in whole pixels of the designed window (15 twips).
constexpr TwipsRect shapeTemplateRect(BoardShape shape, TwipsRect designed)
{
    constexpr int twipsPerPixel = 15;
    const int area = boardSide * designed.width;
    const int top = designed.top - (boardSide - 1) * designed.height;
    const int side = area / std::max(shape.files, shape.ranks) / twipsPerPixel * twipsPerPixel;
    const int left = designed.left + (area - shape.files * side) / 2 / twipsPerPixel * twipsPerPixel;
    const int above = (area - shape.ranks * side) / 2 / twipsPerPixel * twipsPerPixel;
    return {left, top + above + (shape.ranks - 1) * side, side, side};
}

} // namespace knight
