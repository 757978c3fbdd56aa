// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace knight {

// Where a window of the given size opens: centred on the available area, but never with its
// top-left corner (the title bar) outside it, where it could not be dragged back.
constexpr QPoint windowPlacement(QRect available, QSize size)
{
    const QPoint centred(available.left() + (available.width() - size.width()) / 2,
                         available.top() + (available.height() - size.height()) / 2);
    return {centred.x() < available.left() ? available.left() : centred.x(),
            centred.y() < available.top() ? available.top() : centred.y()};
}

// Where a window's frame goes when it has grown: where it was, moved left and up only as far
// as it must to stay inside the available area, never past its top-left corner.
constexpr QPoint keptOnScreen(QRect available, QRect frame)
{
    const int right = available.left() + available.width() - frame.width();
    const int bottom = available.top() + available.height() - frame.height();
    const int x = frame.left() > right ? right : frame.left();
    const int y = frame.top() > bottom ? bottom : frame.top();
    return {x < available.left() ? available.left() : x, y < available.top() ? available.top() : y};
}

} // namespace knight
