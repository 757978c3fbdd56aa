// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace knight {

// The program's 32 x 32 hamburger, drawn from its own pixel table.
QIcon hamburgerIcon();

} // namespace knight
