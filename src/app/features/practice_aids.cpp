// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/practice_aids.h"

#include "app/features/assistant.h"
#include "app/form/mainwindow.h"
#include "walk/knight.h"

#include <QAction>

namespace knight {

PracticeAids::PracticeAids(MainWindow *window)
    : QObject(window)
    , window_(window)
{
}

void PracticeAids::setGreensHidden(bool hidden)
{
    greensHidden_ = hidden;
    window_->action(ActionId::NoGreens)->setChecked(hidden);
    window_->showAllSquares();
}

void PracticeAids::setCountsShown(bool shown)
{
    countsShown_ = shown;
    window_->action(ActionId::Counts)->setChecked(shown);
    window_->showAllSquares();
}

Square PracticeAids::shown(int n, const Square &square) const
{
    if (!greensHidden_ || square.backColor != reachableColor || !window_->form().walking())
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
    const Board &board = window_->form().board();
    if (!countsShown_ || greensHidden_ || !window_->form().walking() || board.square(n).backColor != reachableColor)
        return -1;
    int onward = 0;
    for (const KnightMove move : knightMoves) {
        const int row = squareRow(n) + move.rowChange;
        const int column = squareColumn(n) + move.columnChange;
        if (row >= 0 && row < boardSide && column >= 0 && column < boardSide
            && board.square(squareAt(row, column)).caption.isEmpty())
            ++onward;
    }
    return onward;
}

void PracticeAids::explainIgnoredClick(int n)
{
    const KnightForm &form = window_->form();
    if (!greensHidden_ || !window_->form().walking() || form.history().isEmpty() || !isSquare(n))
        return;
    const int knight = form.knightSquare();
    if (!form.board().square(n).caption.isEmpty())
        window_->assistant()->showMessage(tr("Полето %1 вече е посетено.").arg(chessName(n)));
    else
        window_->assistant()->showMessage(
            tr("Конят не може да скочи от %2 на %1.").arg(chessName(n), chessName(knight)));
}

} // namespace knight
