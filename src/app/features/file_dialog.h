// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFileDialog;

namespace knight {

// Qt's own file dialog writes sizes and dates in the system's locale whatever the program
// speaks; this makes its list write them in the program's language, as the rest of it does.
// A native dialog follows the system and is left as it is.
void speakProgramLanguage(QFileDialog &dialog);

} // namespace knight
