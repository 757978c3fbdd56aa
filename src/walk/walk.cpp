// SPDX-License-Identifier: GPL-3.0-or-later
#include "walk/walk.h"

#include "walk/knight.h"

namespace knight {

Walk::Walk()
{
    timer1_.setInterval(gallopInterval);
}

void Walk::Label2_Click(int n)
{
    if (gallopOn() || !shape().contains(n))
        return;
    const Square &square = board_.square(n);
    const bool reachable = moveCount_ == 0 || square.backColor == reachableColor;
    if (!reachable || !square.caption.isEmpty())
        return;
    placeKnight(n);
    list2_.append(QString::number(n));
    // A move of the user's own: what was taken back, or wiped before, is forgotten.
    redo_.clear();
    kept_.reset();
}

void Walk::redoMove()
{
    if (!canRedo())
        return;
    QList<int> rest = redo_;
    const int n = rest.takeLast();
    Label2_Click(n);
    // Played as a click is; the moves after it may still be played again.
    if (!list2_.isEmpty() && list2_.last().toInt() == n)
        redo_ = rest;
}

void Walk::placeKnight(int n)
{
    if (!shape().contains(n))
        return;
    const int row = squareRow(n) + 1;
    const int column = squareColumn(n) + 1;

    board_.updateBoard(BoardUpdateKind::RestoreColors);
    ++moveCount_;
    if (board_.square(n).caption.isEmpty())
        board_.setCaption(n, QString::number(moveCount_));
    board_.setBackColor(n, visitedColor);

    // The edge test is made on row and column: a move never wraps round to the other side.
    for (const KnightMove move : knightMoves) {
        const int targetRow = row + move.rowChange;
        const int targetColumn = column + move.columnChange;
        if (shape().holds(targetRow - 1, targetColumn - 1))
            markReachable(squareAt(targetRow - 1, targetColumn - 1));
    }
}

void Walk::markReachable(int n)
{
    if (board_.square(n).backColor != visitedColor)
        board_.setBackColor(n, reachableColor);
}

void Walk::undoMove()
{
    // The first move is never taken back; only clearing removes it.
    const auto n = list2_.size();
    if (n < 2)
        return;
    kept_.reset();
    redo_.append(list2_.last().toInt());
    list2_.removeLast();
    const auto m = n - 1;
    const int last = list2_.at(m - 1).toInt();

    board_.updateBoard(BoardUpdateKind::Reset);
    moveCount_ = int(m - 1);
    // The knight goes back first: the earlier squares that it marks as reachable are then
    // painted visited again below.
    placeKnight(last);
    for (qsizetype i = 0; i <= m - 2; ++i) {
        const int square = list2_.at(i).toInt();
        board_.setCaption(square, QString::number(i + 1));
        board_.setBackColor(square, visitedColor);
    }
}

void Walk::keepWalk()
{
    if (!list2_.isEmpty())
        kept_ = KeptWalk{walkSquares(), redo_, shape()};
}

void Walk::restoreWalk()
{
    if (!canRestoreWalk())
        return;
    const KeptWalk walk = *kept_;
    // The board as cleared, on the walk's own board, then the moves played as they were; the
    // restored walk is kept by nothing: this is the one time.
    clearAll();
    board_.setShape(walk.shape);
    for (const int n : walk.squares)
        Label2_Click(n);
    redo_ = walk.redo;
    kept_.reset();
}

void Walk::replaceWalk(const std::vector<int> &squares)
{
    clearAll();
    const std::optional<KeptWalk> replaced = kept_;
    for (const int n : squares)
        Label2_Click(n);
    kept_ = replaced;
}

void Walk::setShape(BoardShape shape)
{
    if (shape == this->shape())
        return;
    clearAll();
    board_.setShape(shape);
}

void Walk::clearAll()
{
    keepWalk();
    board_.updateBoard(BoardUpdateKind::Reset);
    setEnabled(Command::Show, true);
    setEnabled(Command::Gallop, false);
    list2_.clear();
    timer1_.stop();
    gallopPaused_ = false;
    redo_.clear();
    moveCount_ = 0;
}

std::vector<int> Walk::walkSquares() const
{
    std::vector<int> squares;
    squares.reserve(std::size_t(list2_.size()));
    for (const QString &item : list2_)
        squares.push_back(item.toInt());
    return squares;
}

int Walk::knightSquare() const
{
    if (gallopOn() || list2_.isEmpty())
        return -1;
    return list2_.last().toInt();
}

bool Walk::canClear() const
{
    if (gallopOn() || !list2_.isEmpty() || moveCount_ != 0 || !isEnabled(Command::Show)
        || isEnabled(Command::Gallop))
        return true;
    for (int n = 0; n < squareCount && n < board_.elementCount(); ++n) {
        const Square &square = board_.square(n);
        if (!square.caption.isEmpty() || !square.toolTip.isEmpty() || square.backColor != baseColor(n))
            return true;
    }
    return false;
}

} // namespace knight
