// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace knight {

// Empty when a window can be shown; otherwise one line saying why not and what to do.
QString displayProblem();

} // namespace knight
