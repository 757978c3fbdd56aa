// SPDX-License-Identifier: GPL-3.0-or-later
#include "notation/walk_notation.h"

#include "board/squares.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <bitset>
#include <cstdlib>

namespace knight {

// The texts of this file, in the language in use.
class NotationText
{
    Q_DECLARE_TR_FUNCTIONS(NotationText)
};

namespace {

bool isSeparator(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U',' || c == U';';
}

bool isLineBreak(char32_t c)
{
    return c == U'\n' || c == U'\r';
}

int squareOf(const std::u32string &token)
{
    if (token.size() != 2)
        return -1;
    const int file = fileOfLetter(token[0]);
    const int rank = token[1] >= U'1' && token[1] <= U'8' ? int(token[1] - U'1') : -1;
    return file >= 0 && rank >= 0 ? squareAt(rank, file) : -1;
}

// One UTF-8 sequence at bytes[i]: its code point and length, or length 0 when it is invalid
// (overlong, a surrogate, beyond U+10FFFF, cut short).
std::pair<char32_t, int> decodeUtf8(QByteArrayView bytes, qsizetype i)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return {lead, 1};
    int length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return {0, 0};
    }
    if (i + length > bytes.size())
        return {0, 0};
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return {0, 0};
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {0, 0};
    return {code, length};
}

QString toQString(const std::u32string &text)
{
    return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

} // namespace

QString NotationError::message() const
{
    QString where = NotationText::tr("ред %1, колона %2").arg(line).arg(column);
    if (!token.isEmpty())
        where += NotationText::tr(", „%1“").arg(token);
    return where + QStringLiteral(": ") + reason;
}

bool isKnightMove(int from, int to)
{
    const int rows = std::abs(squareRow(from) - squareRow(to));
    const int columns = std::abs(squareColumn(from) - squareColumn(to));
    return (rows == 1 && columns == 2) || (rows == 2 && columns == 1);
}

WalkReading readWalk(QByteArrayView bytes)
{
    WalkReading reading;
    const auto fail = [&reading](qsizetype line, qsizetype column, QString token, QString reason) {
        reading.squares.clear();
        reading.error = NotationError{line, column, std::move(token), std::move(reason)};
        return reading;
    };
    if (bytes.size() > walkFileLimit)
        return fail(1, 1, {}, NotationText::tr("текстът е над 64 KiB"));

    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    qsizetype line = 1;
    qsizetype column = 1;
    bool lineStart = true;
    bool comment = false;
    std::u32string token;
    qsizetype tokenColumn = 0;
    std::bitset<squareCount> visited;
    bool named = false; // a board was named

    // A finished token: the board before the first square; else a square on it, a legal move,
    // not yet visited, not the 65th.
    const auto takeToken = [&]() -> bool {
        if (token.empty())
            return true;
        const QString text = toQString(token);
        const int n = squareOf(token);
        token.clear();
        const QStringList sides = text.split(u'x');
        bool numbers[2] = {false, false};
        const BoardShape shape{sides.value(0).toInt(&numbers[0]), sides.value(1).toInt(&numbers[1])};
        if (n < 0 && reading.squares.empty() && !named && sides.size() == 2 && numbers[0] && numbers[1]) {
            if (!isOffered(shape)) {
                fail(line, tokenColumn, text, NotationText::tr("няма такава дъска"));
                return false;
            }
            reading.shape = shape;
            named = true;
            return true;
        }
        if (n < 0) {
            fail(line, tokenColumn, text, NotationText::tr("това не е поле"));
            return false;
        }
        if (!reading.shape.contains(n)) {
            fail(line, tokenColumn, text,
                 NotationText::tr("полето не е на дъската %1 × %2").arg(reading.shape.files).arg(reading.shape.ranks));
            return false;
        }
        if (reading.squares.size() == std::size_t(squareCount)) {
            fail(line, tokenColumn, text, NotationText::tr("разходката има повече от 64 полета"));
            return false;
        }
        if (visited.test(std::size_t(n))) {
            fail(line, tokenColumn, text, NotationText::tr("полето вече е посетено"));
            return false;
        }
        if (!reading.squares.empty() && !isKnightMove(reading.squares.back(), n)) {
            fail(line, tokenColumn, text,
                 NotationText::tr("не е ход на коня от %1").arg(chessName(reading.squares.back())));
            return false;
        }
        visited.set(std::size_t(n));
        reading.squares.push_back(n);
        return true;
    };

    while (i < bytes.size()) {
        const auto [c, length] = decodeUtf8(bytes, i);
        if (length == 0)
            return fail(line, column, {}, NotationText::tr("това не е текст в UTF-8"));
        if (c == 0)
            return fail(line, column, {}, NotationText::tr("това не е текст: нулев байт"));
        i += length;
        if (isLineBreak(c)) {
            if (!takeToken())
                return reading;
            if (c == U'\r' && i < bytes.size() && bytes[i] == '\n')
                ++i;
            ++line;
            column = 1;
            lineStart = true;
            comment = false;
            continue;
        }
        if (lineStart && c == U'#')
            comment = true;
        if (!isSeparator(c))
            lineStart = false;
        if (!comment) {
            if (isSeparator(c)) {
                if (!takeToken())
                    return reading;
            } else {
                if (token.empty())
                    tokenColumn = column;
                // A run that cannot be a square is reported as it stands, cut short if long.
                if (token.size() < 16)
                    token.push_back(c);
            }
        }
        ++column;
    }
    if (!takeToken())
        return reading;
    if (reading.squares.empty())
        return fail(line, column, {}, NotationText::tr("няма нито едно поле"));
    return reading;
}

QByteArray writeWalk(const SquareList &squares, BoardShape shape)
{
    const qsizetype moves = qsizetype(squares.size());
    QByteArray text = (moves == 1 ? NotationText::tr("# Кон на шахматна дъска: разходка по 1 поле")
                                  : NotationText::tr("# Кон на шахматна дъска: разходка по %1 полета").arg(moves))
                          .toUtf8()
                      + '\n';
    if (shape != BoardShape{})
        text += QByteArray::number(shape.files) + 'x' + QByteArray::number(shape.ranks) + '\n';
    for (std::size_t i = 0; i < squares.size(); ++i) {
        text += chessName(squares[i]).toLatin1();
        text += (i % 8 == 7 || i + 1 == squares.size()) ? '\n' : ' ';
    }
    return text;
}

QString walkText(const SquareList &squares)
{
    QStringList names;
    for (const int n : squares)
        names.append(chessName(n));
    return names.join(u' ');
}

} // namespace knight
