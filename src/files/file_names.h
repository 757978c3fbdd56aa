// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace knight {

// File names are bytes. Valid UTF-8 becomes ordinary text; every byte that is not part of
// valid UTF-8 becomes a lone surrogate U+DC80 + byte, so that encodeFileName gives back
// exactly the bytes the system gave (a name in Latin-1 or CP1251 still opens).
QString decodeFileName(QByteArrayView bytes);
QByteArray encodeFileName(const QString &name);

// A name fit to show: the kept bytes as U+FFFD, control characters as \xNN.
QString shownText(const QString &text);

} // namespace knight
