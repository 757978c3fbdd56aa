// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace knight {

class Walk;

// What the pupil is doing: free play, a set task or a puzzle. A tour shown or galloped is
// free play's or a puzzle's (the puzzle waits under it, its numbers hidden); a task ends.
enum class Activity { FreePlay, Task, Puzzle };

// The mode the window is in, exactly one at a time.
enum class LessonMode { FreePlay, Task, Puzzle, Showing, Galloping, Paused };

// The lesson's state: the activity, its task, and whether a transition is under way. The
// activity changes only through enter(), inside a Transition; a transition does not begin
// while another one is halfway, so that the form's updates on the way belong to it.
class LessonState
{
public:
    Activity activity() const { return activity_; }
    // The task on, counted from 0; -1 outside a task.
    int task() const { return activity_ == Activity::Task ? task_ : -1; }
    // The mode, given what the board shows.
    LessonMode mode(const Walk &walk) const;
    bool changing() const { return changing_; }

    // One transition: held while its steps run.
    class Transition
    {
    public:
        explicit Transition(LessonState &state);
        ~Transition();
        Transition(const Transition &) = delete;
        Transition &operator=(const Transition &) = delete;
        // False when it began inside another one, which keeps the state.
        bool owns() const { return owns_; }

    private:
        LessonState &state_;
        bool owns_;
    };
    // Within a transition only; task is the task's index for Activity::Task.
    void enter(Activity activity, int task = -1);

private:
    Activity activity_ = Activity::FreePlay;
    int task_ = -1;
    bool changing_ = false;
};

} // namespace knight
