// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "puzzle/puzzle.h"

#include <QFont>
#include <QPageSize>
#include <QString>

#include <vector>

class QPainter;
class QRectF;

namespace knight {

// The most puzzles one worksheet has: a class and more.
inline constexpr int worksheetLimit = 200;

// What a teacher asks for: count different puzzles of one board and level.
struct WorksheetRequest {
    int files = 8;
    int ranks = 8;
    Level level = Level::Medium;
    int count = 1;
    std::uint64_t seed = 1;
    bool closed = false;
};

// Puzzle i (from 0) of the request.
std::optional<Puzzle> worksheetPuzzle(const WorksheetRequest &request, int i);

// The request's puzzles; the same request gives the same puzzles. Empty when the board has no
// tour of the kind asked for.
std::vector<Puzzle> worksheetPuzzles(const WorksheetRequest &request);

// One page a puzzle, on a light board to write on, then the answer key: small solved boards
// numbered like the pages.
QByteArray worksheetPdf(const std::vector<Puzzle> &puzzles, const QFont &font, const QPageSize &page);

// Why a worksheet cannot be written to path, told by its name alone; empty when it can.
QString worksheetNameProblem(const QString &path);

// Writes the worksheet to a .pdf file. On failure returns the reason and leaves no file behind,
// nor a part of one; an old file of that name stays as it was.
QString writeWorksheet(const QString &path, const std::vector<Puzzle> &puzzles, const QFont &font,
                       const QPageSize &page);

// A puzzle's board with its numbers: given ones, or every number of the solution (the key),
// the given ones bold. Coordinates in grey left of and below it, inside area.
void paintPuzzleBoard(QPainter &painter, const QRectF &area, const Puzzle &puzzle, bool solved, const QFont &font);

} // namespace knight
