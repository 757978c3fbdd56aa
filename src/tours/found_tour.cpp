// SPDX-License-Identifier: GPL-3.0-or-later
#include "tours/found_tour.h"

#include "solver/tour_solver.h"

#include <vector>

namespace knight {

QStringList foundTourItems(BoardShape shape, int first)
{
    std::vector<int> starts;
    if (shape.contains(first))
        starts.push_back(first);
    for (int n = 0; n < squareCount; ++n) {
        if (shape.contains(n) && n != first)
            starts.push_back(n);
    }
    TourSolver solver(shape.files, shape.ranks);
    for (const int start : starts) {
        const TourSolver::Verdict verdict = solver.solve({shape.packed(start)});
        if (verdict.answer != TourSolver::Answer::Yes)
            continue;
        QStringList items(squareCount);
        for (std::size_t step = 0; step < verdict.tour.size(); ++step)
            items[shape.unpacked(verdict.tour[step])] = QString::number(step + 1);
        return items;
    }
    return {};
}

} // namespace knight
