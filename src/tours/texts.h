// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace knight {

// Lines of text in the window end in carriage return and line feed.
inline constexpr QStringView lineBreak = u"\r\n";

// Each line followed by a line break, the last one too.
QString joinLines(const QStringList &lines);

// The description of a tour kind, one item per line.
QStringList descriptionLines(int kind);

// The text that the window shows when it opens.
QString introductionText();

// The hidden quotation; nothing shows it.
QString quotationText();

} // namespace knight
