// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/colors.h"
#include "board/squares.h"

#include <QFont>
#include <QRectF>
#include <QRegion>
#include <QString>

#include <array>
#include <vector>

class QPainter;

namespace knight {

class KnightForm;

// The board as a chess diagram: what each square shows, the knight's square, the path in move
// order and one caption line. Made from the form's state, so a picture shows what the window
// shows.
struct Diagram {
    struct Cell {
        QString caption;
        Color color;
        Color text{0, 0, 0};
    };
    // A frame around a square: the hint, a square a verdict names, the keyboard's cursor.
    struct Mark {
        int square = -1;
        Color color;
    };
    BoardShape shape;      // the squares off it are not drawn
    std::array<Cell, squareCount> squares{};
    int knight = -1;       // the newest move of a walk
    // The knight as a chess figure over its square's colour, its number in the corner; else
    // the knight's frame of paper and the window.
    bool knightFigure = false;
    std::vector<int> path; // squares in move order; empty when the path is not drawn
    std::vector<Mark> marks;
    int start = -1;        // a task's start square, ringed until the first move
    QString caption;       // "Разходка от 5 хода", "Обиколка „1“"
};

// The diagram of the window's state; withPath adds the walk, the shown tour, or the gallop up
// to its step.
Diagram diagramOf(const KnightForm &form, bool withPath);

// The path the window would draw: the walk, the shown tour, or the galloped part of it.
std::vector<int> pathOf(const KnightForm &form);

// The one way every picture is painted, on the screen and on paper: square n's rectangle is
// at column n % 8, row n / 8 counted from the bottom of board.
QRectF squareArea(const QRectF &board, BoardShape shape, int n);
// How deep the margins of the coordinates are, in squares of the designed board.
inline constexpr double coordinateMargin = 0.7;

// The files' letters below the board and the ranks' numbers left of it, in margins margin deep.
void paintCoordinates(QPainter &painter, const QRectF &board, BoardShape shape, double margin, const QFont &font,
                      const QColor &color);
// Where the coordinates go: the margin left of the board and the one below it.
std::array<QRectF, 2> coordinateMargins(const QRectF &board, double margin);
// A frame just inside the given rectangle, left open at its top-left corner over opening.
void paintFrame(QPainter &painter, const QRectF &frame, double thickness, const QColor &colour,
                double opening = 0);
void paintKnightMark(QPainter &painter, const QRectF &square);
// Where a task begins, before its first move: a blue ring edged in white, seen on light and
// dark squares alike, and by its shape in grey.
void paintStartMark(QPainter &painter, const QRectF &square);
// The chess knight of a typeface Debian ships, filling most of the square.
void paintKnightFigure(QPainter &painter, const QRectF &square, const QColor &colour);
void paintPath(QPainter &painter, const QRectF &board, BoardShape shape, const std::vector<int> &path);

// A diagram's height for a width of 1 (caption, board and coordinates).
double diagramHeightPerWidth(BoardShape shape);

// Where paintDiagram puts the board in area.
QRectF diagramBoard(const QRectF &area, BoardShape shape);

// The whole diagram, centred in area and as large as fits: caption, board, coordinates. Given
// a region, only what meets it is painted (a view painting again the squares that changed).
void paintDiagram(QPainter &painter, const Diagram &diagram, const QRectF &area, const QFont &font,
                  const QRegion &only = QRegion());

} // namespace knight
