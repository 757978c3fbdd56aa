// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/colors.h"

#include <QColor>

namespace knight {

inline QColor toQColor(Color color)
{
    return QColor(color.red, color.green, color.blue);
}

} // namespace knight
