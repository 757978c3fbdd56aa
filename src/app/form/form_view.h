// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/actions.h"
#include "app/form/controls.h"
#include "app/features/preferences.h"
#include "lesson/lesson_state.h"
#include "tours/knight_form.h"

#include <QRectF>
#include <QString>

#include <vector>

class QAction;

namespace knight {

// What a feature may ask of the window it serves: the form and the handlers that play it, what
// a square shows beyond the form, the actions, and a few services. The window's widgets and the
// other features stay the window's own; a feature that needs another is given it by name.
class FormView
{
public:
    // The form, and the handlers as the window routes its events; each mirrors what it changed.
    virtual const KnightForm &form() const = 0;
    virtual void Label2_Click(int n) = 0;
    virtual void Command1_Click(int index) = 0;
    // A walk read in, played over the board's; every square shown again after a change of what
    // the squares show.
    virtual void replaceWalk(const std::vector<int> &squares) = 0;
    // One of the boards offered; the walk on the board it replaces is kept for restoring.
    virtual void setBoardShape(BoardShape shape) = 0;
    virtual void showAllSquares() = 0;
    // The gallop at the teacher's pace.
    virtual void pauseGallop(bool paused) = 0;
    virtual void stepGallop(bool forward) = 0;
    virtual void setGallopInterval(int milliseconds) = 0;
    // The square that the keyboard cursor is on.
    virtual int cursorSquare() const = 0;

    // Marks on a square that the form does not know of: the hint, a puzzle's given number.
    virtual void setHintShown(int n, bool shown) = 0;
    virtual void setClue(int n, int number) = 0;

    // The window's geometry: the form's scale and place, and where the 64 squares are.
    virtual const controls::FormLayout &formLayout() const = 0;
    virtual void setFormLayout(const controls::FormLayout &layout) = 0;
    virtual QRectF boardArea() const = 0;

    // The one action table's entries; each enabled again after a change the form does not see.
    virtual QAction *action(ActionId id) const = 0;
    virtual void updateActions() = 0;

    // Said to the screen reader only; shown over the text box until the next action (and said);
    // a problem the user must acknowledge.
    virtual void announce(const QString &text) = 0;
    virtual void showMessage(const QString &text) = 0;
    virtual void showProblem(const QString &text) = 0;
    // What is remembered between starts.
    virtual Preferences &preferences() = 0;
    // The one mode the lesson is in; its activity changes only inside a transition.
    virtual LessonState &lesson() = 0;
    virtual const LessonState &lesson() const = 0;

protected:
    ~FormView() = default;
};

} // namespace knight
