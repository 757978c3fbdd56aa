// SPDX-License-Identifier: GPL-3.0-or-later
#include "lesson/lesson_state.h"

#include "walk/walk.h"

#include <cassert>

namespace knight {

LessonMode LessonState::mode(const Walk &walk) const
{
    if (walk.gallopPaused())
        return LessonMode::Paused;
    if (walk.gallopOn())
        return LessonMode::Galloping;
    if (!walk.isEnabled(Command::Show))
        return LessonMode::Showing;
    switch (activity_) {
    case Activity::Task:
        return LessonMode::Task;
    case Activity::Puzzle:
        return LessonMode::Puzzle;
    case Activity::FreePlay:
        break;
    }
    return LessonMode::FreePlay;
}

LessonState::Transition::Transition(LessonState &state)
    : state_(state)
    , owns_(!state.changing_)
{
    state_.changing_ = true;
}

LessonState::Transition::~Transition()
{
    if (owns_)
        state_.changing_ = false;
}

void LessonState::enter(Activity activity, int task)
{
    assert(changing_);
    activity_ = activity;
    task_ = activity == Activity::Task ? task : -1;
}

} // namespace knight
