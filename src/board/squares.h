// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/colors.h"

#include <QString>
#include <QStringView>

namespace knight {

inline constexpr int boardSide = 8;
inline constexpr int squareCount = boardSide * boardSide;

// Square n: row n / 8 counted from the bottom, column n % 8 from the left; 0 is a1, 63 is h8.
constexpr int squareRow(int n) { return n / boardSide; }
constexpr int squareColumn(int n) { return n % boardSide; }
constexpr int squareAt(int row, int column) { return boardSide * row + column; }
constexpr bool isSquare(int n) { return n >= 0 && n < squareCount; }

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

} // namespace knight
