// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/squares.h"

namespace knight {

QString chessName(int n)
{
    if (!isSquare(n))
        return {};
    return QString(QChar(u'a' + squareColumn(n))) + QChar(u'1' + squareRow(n));
}

int fileOfLetter(char32_t letter)
{
    switch (letter) {
    case U'а':
    case U'А':
        return 0;
    case U'с':
    case U'С':
        return 2;
    case U'е':
    case U'Е':
        return 4;
    default:
        break;
    }
    const char32_t lower = letter >= U'A' && letter <= U'H' ? letter - U'A' + U'a' : letter;
    return lower >= U'a' && lower < U'a' + boardSide ? int(lower - U'a') : -1;
}

int squareNamed(QStringView name)
{
    if (name.size() != 2)
        return -1;
    const int column = name[0].unicode() - u'a';
    const int row = name[1].unicode() - u'1';
    if (column < 0 || column >= boardSide || row < 0 || row >= boardSide)
        return -1;
    return squareAt(row, column);
}

} // namespace knight
