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

} // namespace knight
