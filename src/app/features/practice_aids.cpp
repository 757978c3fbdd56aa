// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/practice_aids.h"

#include "app/features/assistant.h"
#include "app/form/form_view.h"
#include "walk/knight.h"

#include <QAction>

namespace knight {

PracticeAids::PracticeAids(FormView &view, QObject *parent)
    : QObject(parent)
    , view_(view)
{
}

void PracticeAids::setGreensHidden(bool hidden)
{
    greensHidden_ = hidden;
    view_.action(ActionId::NoGreens)->setChecked(hidden);
    view_.showAllSquares();
}

void PracticeAids::setCountsShown(bool shown)
{
    countsShown_ = shown;
    view_.action(ActionId::Counts)->setChecked(shown);
    view_.showAllSquares();
}

Square PracticeAids::shown(int n, const Square &square) const
{
    if (!greensHidden_ || square.backColor != reachableColor || !view_.form().walking())
        return square;
    Square plain = square;
    plain.backColor = baseColor(n);
    return plain;
}

SquareCondition PracticeAids::shownCondition(SquareCondition condition) const
{
    return greensHidden_ && condition == SquareCondition::PossibleMove ? SquareCondition::Plain : condition;
}

int PracticeAids::countFor(int n) const
{
    const Board &board = view_.form().board();
    if (!countsShown_ || greensHidden_ || !view_.form().walking() || board.square(n).backColor != reachableColor)
        return -1;
    int onward = 0;
    for (const KnightMove move : knightMoves) {
        const int row = squareRow(n) + move.rowChange;
        const int column = squareColumn(n) + move.columnChange;
        if (board.shape().holds(row, column) && board.square(squareAt(row, column)).caption.isEmpty())
            ++onward;
    }
    return onward;
}

void PracticeAids::explainIgnoredClick(int n)
{
    const KnightForm &form = view_.form();
    if (!greensHidden_ || !view_.form().walking() || form.history().isEmpty() || !form.shape().contains(n))
        return;
    const int knight = form.knightSquare();
    if (!form.board().square(n).caption.isEmpty())
        view_.showMessage(tr("Полето %1 вече е посетено.").arg(chessName(n)));
    else
        view_.showMessage(
            tr("Конят не може да скочи от %2 на %1.").arg(chessName(n), chessName(knight)));
}

} // namespace knight
