// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "puzzle/puzzle.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace knight {

class FormView;
class GallopSound;

// A puzzle on the board, off until chosen: some squares show their move numbers, and the
// pupil walks the knight so that each number is reached at its move. A move that would break
// a number is refused with the reason; the assistant aims at the tour the numbers allow; the
// solved puzzle is celebrated. Clearing starts the same puzzle again.
class PuzzlePlay : public QObject
{
    Q_OBJECT

public:
    PuzzlePlay(FormView &view, GallopSound &sound, QObject *parent);

    // The menu's option: on, a new puzzle of medium level; off, free play with the walk kept.
    void setOn(bool on);
    bool isOn() const;
    // This puzzle on a cleared board.
    void start(const Puzzle &puzzle);
    const std::optional<Puzzle> &puzzle() const { return puzzle_; }

    // Before a click on square n: whether the puzzle refuses the move, said why.
    bool refuses(int n);
    // After each change of the form: the numbers on the squares not yet walked, the end of a
    // puzzle whose numbers the walk no longer follows, the celebration of a solved one.
    void followForm();

    // The tour that the numbers allow from walk, or, when there is none, why.
    struct Aim {
        std::vector<int> tour;
        QString why;
    };
    Aim aim(const std::vector<int> &walk) const;
    // The assistant finished the walk: the puzzle counts as not solved by the pupil.
    void noteCompletion() { completed_ = true; }

private:
    void stop(const QString &why);

    FormView &view_;
    GallopSound &sound_;
    std::optional<Puzzle> puzzle_;
    bool completed_ = false;
    bool celebrated_ = false;
};

} // namespace knight
