// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"
#include "tours/knight_form.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTest>

#include <vector>

namespace knight::test {

// "a1 b3 c1" -> {0, 17, 2}
inline std::vector<int> squares(const QString &names)
{
    std::vector<int> result;
    for (const QString &name : names.split(u' ', Qt::SkipEmptyParts)) {
        const int n = squareNamed(name);
        if (n < 0)
            qFatal("not a square: %s", qPrintable(name));
        result.push_back(n);
    }
    return result;
}

inline QString names(const QList<int> &squares)
{
    QStringList list;
    for (const int n : squares)
        list.append(chessName(n));
    return list.join(u' ');
}

// The squares of the board in a colour, as chess names in index order.
inline QString squaresIn(const Board &board, Color color)
{
    QList<int> found;
    for (int n = 0; n < squareCount; ++n) {
        if (board.square(n).backColor == color)
            found.append(n);
    }
    return names(found);
}

// What a user sees of one square, for comparing whole boards.
struct SquareView {
    QString caption;
    QString toolTip;
    Color color;
    bool visible;

    friend bool operator==(const SquareView &, const SquareView &) = default;
};

inline std::vector<SquareView> snapshot(const Board &board)
{
    std::vector<SquareView> view;
    for (int n = 0; n < board.elementCount(); ++n) {
        const Square &square = board.square(n);
        view.push_back({square.caption, square.toolTip, square.backColor, square.visible});
    }
    return view;
}

// The board colour of every square is in its place, no square carries text.
inline bool isEmptyChequer(const Board &board)
{
    for (int n = 0; n < squareCount; ++n) {
        const Square &square = board.square(n);
        if (!square.caption.isEmpty() || !square.toolTip.isEmpty() || square.backColor != baseColor(n))
            return false;
    }
    return true;
}

// The form as loaded, played by square names and ticked by hand.
class TestForm : public KnightForm
{
public:
    TestForm() { Form_Load(); }

    void play(const QString &names)
    {
        for (const int n : squares(names))
            Label2_Click(n);
    }

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            Timer1_Timer();
    }

    QString green() const { return squaresIn(board(), reachableColor); }
};

} // namespace knight::test
