// SPDX-License-Identifier: GPL-3.0-or-later
#include "access/square_typing.h"

#include "board/squares.h"

#include <array>
#include <utility>

namespace knight {

namespace {

// X keycodes (evdev) of the keys a to h of a PC keyboard, whatever letters they carry.
constexpr std::array<unsigned, boardSide> fileKeycodes{38, 56, 54, 40, 26, 41, 42, 43};

// The letters that the phonetic layout puts on the keys b, c, d, f, g and h (on a and e it
// puts the look-alikes а and е).
constexpr std::array<std::pair<char16_t, int>, 6> phoneticFiles{{
    {u'б', 1}, {u'ц', 2}, {u'д', 3}, {u'ф', 5}, {u'г', 6}, {u'х', 7},
}};

} // namespace

int fileOfKey(QChar typed, unsigned scanCode)
{
    if (!typed.isLetter() || typed.script() != QChar::Script_Cyrillic)
        return fileOfLetter(typed.unicode());
    for (int file = 0; file < boardSide; ++file) {
        if (scanCode != 0 && fileKeycodes[std::size_t(file)] == scanCode)
            return file;
    }
    if (const int file = fileOfLetter(typed.unicode()); file >= 0)
        return file;
    const char16_t letter = typed.toLower().unicode();
    for (const auto &[phonetic, file] : phoneticFiles) {
        if (phonetic == letter)
            return file;
    }
    return -1;
}

int rankOfKey(QChar typed)
{
    const char16_t digit = typed.unicode();
    return digit >= u'1' && digit < u'1' + boardSide ? digit - u'1' : -1;
}

int SquareTyping::feed(QChar typed, unsigned scanCode)
{
    if (const int rank = rankOfKey(typed); rank >= 0 && file_ >= 0)
        return squareAt(rank, std::exchange(file_, -1));
    file_ = fileOfKey(typed, scanCode);
    return -1;
}

} // namespace knight
