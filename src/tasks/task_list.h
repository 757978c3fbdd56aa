// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/squares.h"

#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

namespace knight {

// What a task may let the pupil use.
// The onward-move counts are a hint of their own (each says where Warnsdorff's rule goes).
enum class Aid : unsigned { Greens = 1, Hints = 2, Verdict = 4, Completion = 8, Counts = 16 };
inline constexpr unsigned allAids = 31;

// One task of a lesson: a full tour on a board, perhaps from a given square or with a given
// beginning, open or closed, with some aids, in a target time.
struct Task {
    BoardShape shape;
    int start = -1; // the square the walk must begin on; -1: any
    bool closed = false;
    unsigned aids = allAids;
    std::vector<int> beginning; // squares played for the pupil, the start's first
    std::chrono::seconds target{};

    bool allows(Aid aid) const { return (aids & unsigned(aid)) != 0; }
    // The square the walk begins on, when the task fixes it.
    int firstSquare() const { return beginning.empty() ? start : beginning.front(); }
};

// The tasks of a list, a line each: board, start, goal, aids, target, and the beginning's
// squares if any ('#' begins a comment). Nothing when a line is not a task: its number is
// given then.
struct TaskListReading {
    std::vector<Task> tasks;
    int badLine = 0;
};
TaskListReading readTaskList(QByteArrayView text);

// The lesson's tasks, as the program carries them.
const std::vector<Task> &lessonTasks();

// "Дъска 5 × 5, от a1, пълна обиколка, без помощ", in the language in use: a full tour may
// be closed too, so the goal that takes any tour is not called open.
QString taskTitle(const Task &task);

// A target time as a sentence says it: "4 мин", "2 мин 30 с".
QString targetText(std::chrono::seconds target);

} // namespace knight
