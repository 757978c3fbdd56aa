// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace knight {

// What assistive technology is told of the window: its children without the spare square
// element, which is never shown and means nothing.
void installWindowAccessible();

// What assistive technology says of an option besides its caption.
QString optionDescription(int kind);

} // namespace knight
