// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/results_store.h"

#include <QStringList>

#include <vector>

namespace knight {

// One pupil at one task: how often tried, whether solved alone (and the best time then), and
// every kind of help used in any attempt.
struct ClassCell {
    int attempts = 0;
    int best = -1; // seconds of the fastest solve; -1: not solved
    unsigned help = 0;

    friend bool operator==(const ClassCell &, const ClassCell &) = default;
};

// The class's table: pupils (sorted as a register is) by tasks.
struct ClassTable {
    QStringList pupils;
    std::vector<std::vector<ClassCell>> cells; // [pupil][task - 1]
};
ClassTable classTable(const std::vector<Attempt> &attempts, std::size_t tasks);
// What a cell shows: the best time and the help used ("1:05", "1:05 *"), "не" when tried and
// not solved, nothing when not tried.
QString classCellText(const ClassCell &cell);

} // namespace knight
