// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/icon.h"

#include <QPixmap>

namespace knight {

namespace {
#include "app/form/hamburger.xpm"
} // namespace

QIcon hamburgerIcon()
{
    return QIcon(QPixmap(hamburger_xpm));
}

} // namespace knight
