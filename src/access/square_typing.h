// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>

namespace knight {

// The file (0 for a .. 7 for h) that a key stands for, or -1. A Latin letter counts as typed;
// a Cyrillic one by the key it sits on when the X keycode is known (scanCode, 0 when not), so
// that the keys a to h work on the Bulgarian layouts, and otherwise by its look (а с е) or its
// phonetic twin (б ц д ф г х).
int fileOfKey(QChar typed, unsigned scanCode = 0);

// The rank (0 for 1 .. 7 for 8) of a typed digit, or -1.
int rankOfKey(QChar typed);

// A square's name typed key by key: a file, then a rank.
class SquareTyping
{
public:
    // The square once a name is complete, else -1. A key that fits no name starts again.
    int feed(QChar typed, unsigned scanCode = 0);
    bool isPending() const { return file_ >= 0; }
    void reset() { file_ = -1; }

private:
    int file_ = -1;
};

} // namespace knight
