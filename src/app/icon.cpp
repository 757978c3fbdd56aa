// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/icon.h"

#include <QPixmap>

namespace knight {

namespace {
#include "app/hamburger.xpm"
} // namespace

QIcon hamburgerIcon()
{
    return QIcon(QPixmap(hamburger_xpm));
}

} // namespace knight
