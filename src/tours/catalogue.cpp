// SPDX-License-Identifier: GPL-3.0-or-later
#include "tours/catalogue.h"

namespace knight {

QStringList storedTourItems(int kind)
{
    QStringList items;
    items.reserve(squareCount);
    for (int n = 0; n < squareCount; ++n)
        items.append(QString::number(tourStep(storedTours[std::size_t(kind)], n)));
    return items;
}

QStringList tourInStepOrder(int kind)
{
    QStringList names(squareCount);
    for (int n = 0; n < squareCount; ++n)
        names[tourStep(storedTours[std::size_t(kind)], n) - 1] = chessName(n);
    return names;
}

} // namespace knight
