// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/colors.h"
#include "board/squares.h"

#include <QString>
#include <QStringList>

#include <bitset>
#include <cstdint>
#include <vector>

namespace knight {

enum class BoardUpdateKind : std::int16_t { Create = 0, ShowTour = 1, Reset = 2, RestoreColors = 3 };

// One element of the square label array: what the window shows of it.
struct Square {
    QString caption;
    QString toolTip;
    Color backColor;
    TwipsRect rect;
    bool visible = false;
};

// The template square, element 0, as the window description gives it.
inline constexpr TwipsRect templateSquareRect{1080, 3960, 495, 495};
inline constexpr Color templateSquareColor{128, 64, 0};

// The 64 board squares and the spare element 64. The squares are the board's only state:
// a square's number is its caption and its condition is its colour.
class Board
{
public:
    static constexpr int elementLimit = squareCount + 1;
    static constexpr int spareElement = squareCount;
    using Changes = std::bitset<elementLimit>;

    Board();

    int elementCount() const { return int(elements_.size()); }
    const Square &square(int n) const { return elements_[std::size_t(n)]; }

    void setCaption(int n, const QString &caption);
    void setToolTip(int n, const QString &toolTip);
    void setBackColor(int n, Color color);
    void setVisible(int n, bool visible);

    // The squares of the shape shown in the designed board's place, the others hidden. The
    // squares must exist; what they hold is left as it is.
    void setShape(BoardShape shape);
    BoardShape shape() const { return shape_; }

    // One pass over the squares, bottom row first: all 64 to create them, those of the shape
    // otherwise; storedTour is read by ShowTour only (item n belongs to square n). A kind
    // outside the four changes nothing.
    void updateBoard(BoardUpdateKind kind, const QStringList &storedTour = {});

    // The elements written with a new value since the last call, so that a view repaints
    // only those.
    Changes takeChanges();

private:
    void createElement(int n);
    void setRect(int n, TwipsRect rect);
    // A field of element n written, and the element reported as changed, only if it differs.
    template <typename Value>
    void write(int n, Value Square::*field, const Value &value)
    {
        Square &square = elements_[std::size_t(n)];
        if (square.*field != value) {
            square.*field = value;
            changes_.set(std::size_t(n));
        }
    }

    std::vector<Square> elements_;
    Changes changes_;
    BoardShape shape_;
};

} // namespace knight
