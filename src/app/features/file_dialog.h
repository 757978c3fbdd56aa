// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFileDialog;
class QString;
class QWidget;

namespace knight {

// Qt's own file dialog writes sizes and dates in the system's locale whatever the program
// speaks; this makes its list write them in the program's language, as the rest of it does.
// A native dialog follows the system and is left as it is.
void speakProgramLanguage(QFileDialog &dialog);

// Asks where to save, offering name: in the program's language, a name typed without a suffix
// given the chosen filter's (the offered name's at first). Null when the user cancels.
QString askSaveName(QWidget *parent, const QString &title, const QString &filter, const QString &name);

} // namespace knight
