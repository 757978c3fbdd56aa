// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/squares.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace knight {

// A walk in chess notation: the squares in move order, "a1 b3 c1 ...".
using SquareList = std::vector<int>;

inline constexpr qsizetype walkFileLimit = 64 * 1024; // bytes

// Why some bytes are no walk, and where: line and column count from 1 (columns in characters);
// the token is the offending text, empty when nothing was there.
struct NotationError {
    qsizetype line = 1;
    qsizetype column = 1;
    QString token;
    QString reason;

    // "ред 2, колона 7: „z9“ не е поле"
    QString message() const;
};

struct WalkReading {
    SquareList squares; // the walk when error is empty
    BoardShape shape;   // the board it names, 8 x 8 when it names none
    std::optional<NotationError> error;

    bool ok() const { return !error; }
};

// Reads a walk: UTF-8 text, an optional byte-order mark, squares separated by spaces, tabs,
// commas, semicolons or line breaks (LF, CR LF or CR), lines that start with '#' ignored,
// upper-case letters and the Cyrillic look-alikes а, с, е read as a, c, e. A walk is at least
// one square, at most 64, each a knight's move from the one before and none twice. A board
// other than 8 x 8 is named before the first square, files x ranks ("5x5"), and the squares
// must be on it.
WalkReading readWalk(QByteArrayView bytes);

// The squares as a file holds them: a comment line naming the program, on a board other than
// 8 x 8 its name, then eight to a line.
QByteArray writeWalk(const SquareList &squares, BoardShape shape);

// The squares on one line, separated by spaces.
QString walkText(const SquareList &squares);

bool isKnightMove(int from, int to);

} // namespace knight
