// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace knight {

// What an errno value means, in Bulgarian: "няма място на диска".
QString systemErrorText(int error);

} // namespace knight
