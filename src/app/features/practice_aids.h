// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "access/spoken.h"
#include "board/board.h"

#include <QObject>

namespace knight {

class FormView;

// Aids for practice, each off until chosen: a board without green squares, where a click that
// cannot be played says why; and Warnsdorff's counts, on each green square the number of free
// squares the knight could go on to from there.
class PracticeAids : public QObject
{
    Q_OBJECT

public:
    PracticeAids(FormView &view, QObject *parent);

    void setGreensHidden(bool hidden);
    bool greensHidden() const { return greensHidden_; }
    void setCountsShown(bool shown);
    bool countsShown() const { return countsShown_; }

    // What square n shows of the board's square, and its count (-1: none); without green
    // squares a screen reader is not told of possible moves either.
    Square shown(int n, const Square &square) const;
    SquareCondition shownCondition(SquareCondition condition) const;
    int countFor(int n) const;
    // A click that played nothing: without green squares, why not.
    void explainIgnoredClick(int n);

private:
    FormView &view_;
    bool greensHidden_ = false;
    bool countsShown_ = false;
};

} // namespace knight
