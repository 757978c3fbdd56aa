// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

namespace knight::test {

// The pixels of an area that a test is looking for: how many, and where.
struct Pixels {
    int count = 0;
    QRect bounds;
};

// Wanted is called with each point of area and says whether it is one of them.
template <typename Wanted>
Pixels pixelsWhere(const QRect &area, Wanted wanted)
{
    Pixels found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (wanted(QPoint(x, y))) {
                ++found.count;
                found.bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return found;
}

} // namespace knight::test
