// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/features/puzzle_play.h"
#include "app/form/actions.h"
#include "notation/walk_notation.h"
#include "solver/tour_solver.h"

#include <QObject>

class QLabel;
class QTimer;

namespace knight {

class KnightForm;
class FormView;

// The tour assistant. It plays only during a walk (not over a shown tour or the gallop) and
// before the 64th move; before the first move it starts on the keyboard cursor's square. Its
// messages sit over the top of the text box, reach the screen reader and go at the next action.
class Assistant : public QObject
{
    Q_OBJECT

public:
    Assistant(FormView &view, PuzzlePlay &puzzle, QWidget *window);

    static bool canPlay(const KnightForm &form);
    void showHint();
    void showVerdict();
    void completeTour();
    void setEndMessages(bool on);
    // Hint, verdict and completion aim at a closed tour: its last square a knight's move from
    // its first.
    void setClosedGoal(bool on);
    bool closedGoal() const { return closed_; }

    // After a move: a full tour or a dead end is said when asked, or when the option is on.
    void reportWalkEnd(bool asked);
    // Messages and the hint last until the next action.
    void clearTransient();
    // The help a walk used, counted from its first move for the end message.
    void countTakeBack() { ++takeBacksUsed_; }
    void followForm();

    QLabel *message() const { return message_; }
    // A message over the top of the text box until the next action, said to the screen reader.
    void showMessage(const QString &text);
    // A line that stands in the message's place whenever no message shows (a task's pupil,
    // number and clock); empty for none. Not said to the screen reader: it changes every second.
    void setStandingLine(const QString &line);
    const QString &standingLine() const { return standing_; }
    int hintSquare() const { return hintSquare_; }
    // The squares the verdict on show names; none when no verdict shows.
    const std::vector<int> &namedSquares() const { return namedSquares_; }

signals:
    // A message, the hint or the named squares came or went.
    void transientChanged();
    // A hint or a verdict was given, or the walk is being completed.
    void helped(ActionId id);

private:
    void placeMessage(const QString &text);
    using Aim = PuzzlePlay::Aim;
    // The tour the assistant aims at from walk (before a move, from the cursor's square, or a
    // puzzle's first number), or why there is none.
    Aim aim(SquareList walk);
    void hideHint();
    // The solver's verdict on the walk, its squares those of the board, and what it says.
    struct Judgement {
        TourSolver::Verdict verdict;
        QString text;
    };
    TourSolver::Verdict solve(const SquareList &walk);
    Judgement judge(const SquareList &walk);
    // Before a move: whether a tour can start on every square of the board, or how many.
    QString verdictBeforeAMove();

    FormView &view_;
    PuzzlePlay &puzzle_;
    QWidget *window_;
    QLabel *message_;
    QString standing_;
    bool standingShown_ = false;
    QTimer *hintTimer_;
    TourSolver solver_;
    int hintSquare_ = -1;
    std::vector<int> namedSquares_;
    bool endMessages_ = false;
    bool closed_ = false;
    int hintsUsed_ = 0;
    int takeBacksUsed_ = 0;
};

} // namespace knight
