// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tour that obeys a task, found by a search of its own: the knight's moves worked out from
// files and ranks, Warnsdorff's order, a bound on the positions tried.

#include "tasks/task_list.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace knight::test {

inline bool knightApart(int a, int b)
{
    const int files = std::abs(a % 8 - b % 8);
    const int ranks = std::abs(a / 8 - b / 8);
    return (files == 1 && ranks == 2) || (files == 2 && ranks == 1);
}

class TaskTourSearch
{
public:
    explicit TaskTourSearch(const Task &task) : task_(task) {}

    // Empty when none was found within the bound.
    std::vector<int> tour()
    {
        std::vector<int> starts;
        if (!task_.beginning.empty())
            return extends(task_.beginning) ? walk_ : std::vector<int>{};
        for (int n = 0; n < 64; ++n) {
            if (onBoard(n) && (task_.start < 0 || n == task_.start) && extends({n}))
                return walk_;
        }
        return {};
    }

private:
    bool onBoard(int n) const { return n % 8 < task_.shape.files && n / 8 < task_.shape.ranks; }
    bool free(int n) const { return onBoard(n) && std::find(walk_.begin(), walk_.end(), n) == walk_.end(); }

    bool extends(const std::vector<int> &from)
    {
        walk_ = from;
        tried_ = 0;
        return search();
    }

    bool search()
    {
        if (++tried_ > 2000000)
            return false;
        if (int(walk_.size()) == task_.shape.files * task_.shape.ranks)
            return !task_.closed || knightApart(walk_.back(), walk_.front());
        // A closed tour needs a free square next to its start to end on.
        if (task_.closed && walk_.size() > 1) {
            bool end = false;
            for (int n = 0; n < 64 && !end; ++n)
                end = free(n) && knightApart(n, walk_.front());
            if (!end)
                return false;
        }
        std::vector<std::pair<int, int>> next;
        for (int n = 0; n < 64; ++n) {
            if (free(n) && knightApart(walk_.back(), n)) {
                int onward = 0;
                for (int m = 0; m < 64; ++m)
                    onward += free(m) && m != n && knightApart(n, m);
                next.emplace_back(onward, n);
            }
        }
        std::sort(next.begin(), next.end());
        for (const auto &[onward, n] : next) {
            walk_.push_back(n);
            if (search())
                return true;
            walk_.pop_back();
        }
        return false;
    }

    const Task &task_;
    std::vector<int> walk_;
    long tried_ = 0;
};

// A tour of each of the lesson's tasks, found once.
inline const std::vector<int> &taskTour(int task)
{
    static std::map<int, std::vector<int>> found;
    auto [place, made] = found.try_emplace(task);
    if (made)
        place->second = TaskTourSearch(lessonTasks()[std::size_t(task)]).tour();
    return place->second;
}

} // namespace knight::test
