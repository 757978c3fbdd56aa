// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"

#include <QStringList>
#include <QTimer>

#include <array>
#include <optional>
#include <vector>

namespace knight {

// The four command buttons by element index.
enum class Command : int { Show = 0, Gallop = 1, Clear = 2, MoveBack = 3 };
inline constexpr int commandCount = 4;

// The user's walk over the board: the squares, the move history, the move counter, the
// command buttons' enabled states and the gallop timer, with the procedures that play,
// take back and clear a walk. No widget is involved; a window mirrors this state.
class Walk
{
public:
    static constexpr int gallopInterval = 2000; // milliseconds

    Walk();
    Walk(const Walk &) = delete;
    Walk &operator=(const Walk &) = delete;

    const Board &board() const { return board_; }
    const QStringList &history() const { return list2_; }
    int moveCount() const { return moveCount_; }
    bool isEnabled(Command command) const { return commandEnabled_[std::size_t(command)]; }
    const QTimer &timer() const { return timer1_; }
    QTimer &timer() { return timer1_; }
    // A gallop is on while its timer runs, and also while it is paused.
    bool gallopOn() const { return timer1_.isActive() || gallopPaused_; }
    bool gallopPaused() const { return gallopPaused_; }
    // The squares written since the last call; see Board::takeChanges.
    Board::Changes takeBoardChanges() { return board_.takeChanges(); }

    // The click handler of the squares.
    void Label2_Click(int n);

    void placeKnight(int n);
    void markReachable(int n);
    void undoMove();
    // Plays again, newest first, the moves that undoMove took back, until a new move, a
    // clearing or a shown tour forgets them.
    void redoMove();
    bool canRedo() const { return !redo_.isEmpty() && !gallopOn(); }
    void clearAll();
    // Whether clearAll would change anything.
    bool canClear() const;

    // The walk that a clearing, a shown tour, another kind or a walk read in took off the
    // board is kept with its moves taken back, until the next move, so that one slip can be
    // mended: restoring plays it again as it was, once.
    bool canRestoreWalk() const { return kept_.has_value() && !gallopOn(); }
    // The board the kept walk comes back on, when one is kept.
    std::optional<BoardShape> keptShape() const { return kept_ ? std::optional(kept_->shape) : std::nullopt; }
    void restoreWalk();
    // A walk read in: the board cleared and the squares played as clicks are; the walk it
    // replaced is kept.
    void replaceWalk(const std::vector<int> &squares);

    // Another board: the walk on it is kept as a clearing keeps it (restoring it brings its
    // board back), and the new board starts empty.
    void setShape(BoardShape shape);
    BoardShape shape() const { return board_.shape(); }

    // The walk's squares in move order.
    std::vector<int> walkSquares() const;
    // The square of the newest move while a walk is on the board (not while the gallop
    // runs), else -1.
    int knightSquare() const;

protected:
    Board &writableBoard() { return board_; }
    void setEnabled(Command command, bool enabled) { commandEnabled_[std::size_t(command)] = enabled; }
    void setMoveCount(int count) { moveCount_ = count; }
    QStringList &list2() { return list2_; }
    void setGallopPaused(bool paused) { gallopPaused_ = paused; }
    void forgetRedo() { redo_.clear(); }
    // Before the walk is taken off the board.
    void keepWalk();

private:
    Board board_;
    QStringList list2_; // square indices as decimal text, oldest move first
    int moveCount_ = 0;
    std::array<bool, commandCount> commandEnabled_{true, true, true, true};
    QTimer timer1_;
    bool gallopPaused_ = false;
    QList<int> redo_; // squares taken back, the latest last
    struct KeptWalk {
        std::vector<int> squares;
        QList<int> redo;
        BoardShape shape;
    };
    std::optional<KeptWalk> kept_;
};

} // namespace knight
