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

// "6 × 6, лесно, серия 4711": all it takes to make the same set again.
QString worksheetSetName(const WorksheetRequest &request);

// Makes a request's puzzles one after another, each different from every one before it, also
// when the board is turned or mirrored; the same request gives the same set.
class WorksheetMaker
{
public:
    explicit WorksheetMaker(const WorksheetRequest &request) : request_(request) {}
    // The next puzzle, or none when the set is whole or the board gives no new one (then the
    // set has fewer than asked for: as many different ones as were found).
    std::optional<Puzzle> next();

private:
    WorksheetRequest request_;
    int made_ = 0;
    int seeds_ = 0; // seeds tried: puzzle seeds follow one another from the request's
    std::vector<std::vector<int>> seen_;
};

// The request's puzzles, at most count of them; empty when the board has no tour of the kind
// asked for.
std::vector<Puzzle> worksheetPuzzles(const WorksheetRequest &request);

// The same numbers on the same board, turned or mirrored: one key for a puzzle and its images.
std::vector<int> symmetryKey(const Puzzle &puzzle);

// The sheets: one page a puzzle, on a light board to write on, with the rule, a drawing of the
// knight's move and the set's name. The key is a file of its own: small solved boards under
// their puzzle's number, headed by the set they answer.
QByteArray worksheetPdf(const WorksheetRequest &request, const std::vector<Puzzle> &puzzles, const QFont &font,
                        const QPageSize &page);
QByteArray worksheetKeyPdf(const WorksheetRequest &request, const std::vector<Puzzle> &puzzles, const QFont &font,
                           const QPageSize &page);
// Where the key of the sheets at path goes: beside them, "-отговори" added to the name.
QString worksheetKeyPath(const QString &path);

// Why a worksheet cannot be written to path, told by its name alone; empty when it can.
QString worksheetNameProblem(const QString &path);

// Writes the sheets to a .pdf file and the key beside them. On failure returns the reason and
// leaves neither written, nor a part of one; old files of those names stay as they were.
QString writeWorksheet(const QString &path, const WorksheetRequest &request, const std::vector<Puzzle> &puzzles,
                       const QFont &font, const QPageSize &page);

// A puzzle's board with its numbers: given ones, or every number of the solution (the key),
// the given ones bold. Coordinates in grey left of and below it, inside area.
void paintPuzzleBoard(QPainter &painter, const QRectF &area, const Puzzle &puzzle, bool solved, const QFont &font);

} // namespace knight
