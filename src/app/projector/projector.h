// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/actions.h"
#include "projector_look/projector_look.h"

#include <QObject>

#include <array>

namespace knight {

class Assistant;
class FormView;
class GallopControl;
class Pictures;
class TaskPlay;
class PracticeAids;
class ProjectorWindow;

// The projector view, off until chosen (F10): a full-screen view of the board, the status and
// the lesson's buttons over the window, which stays as it was. Esc, F10 or its button leave
// it. Remembered between starts like the zoom.
class Projector : public QObject
{
    Q_OBJECT

public:
    // The lesson's actions, a button each, in this order.
    static constexpr std::array<ActionId, 10> buttons{
        ActionId::MoveBack, ActionId::Redo,  ActionId::Hint,        ActionId::Verdict,  ActionId::Show,
        ActionId::Gallop,   ActionId::PauseGallop, ActionId::NextStep, ActionId::Tempo, ActionId::Projector,
    };

    // The features whose state the view shows besides the form's.
    struct Sources {
        const Assistant &assistant;
        const GallopControl &gallop;
        const PracticeAids &aids;
        const Pictures &pictures;
        const TaskPlay &tasks;
    };

    Projector(FormView &view, const Sources &sources, QWidget *window);

    void setOn(bool on);
    bool isOn() const { return on_; }
    // Made the first time the view is chosen.
    ProjectorWindow *view() const { return view_; }
    const ProjectorMarks &marks() const { return marks_; }

    // After every change the window shows: the view shows it too.
    void followForm();
    void restorePreferences();
    // The program quits: the view is remembered as it is now, whatever hides it on the way out.
    void keepForNextStart() { quitting_ = true; }

private:
    void noteTransient();

    FormView &formView_;
    Sources sources_;
    QWidget *window_;
    ProjectorWindow *view_ = nullptr;
    bool on_ = false;
    bool quitting_ = false;
    ProjectorMarks marks_;
    qsizetype hintMoves_ = -1; // the walk's length when the hint was given
};

} // namespace knight
