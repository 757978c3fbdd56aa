// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_names.h"

namespace knight {

namespace {

constexpr char16_t keptByteBase = 0xDC00; // U+DC80 .. U+DCFF stand for the bytes 0x80 .. 0xFF

// The length of the valid UTF-8 sequence at bytes[i], or 0.
int validSequenceLength(QByteArrayView bytes, qsizetype i)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2, code = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, code = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, code = lead & 0x07, least = 0x10000;
    else
        return 0;
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < least || code > 0x10FFFF || surrogate ? 0 : length;
}

bool isKeptByte(QChar c)
{
    return c.unicode() >= keptByteBase + 0x80 && c.unicode() <= keptByteBase + 0xFF;
}

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (const int length = validSequenceLength(bytes, i)) {
            name += QString::fromUtf8(bytes.sliced(i, length));
            i += length;
        } else {
            name += QChar(char16_t(keptByteBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        }
    }
    return name;
}

QByteArray encodeFileName(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        // A lone surrogate that stands for a byte ends the ordinary text before it.
        const bool kept = i < name.size() && isKeptByte(name[i])
                          && !(i > 0 && name[i - 1].isHighSurrogate());
        if (i == name.size() || kept) {
            bytes += QStringView(name).sliced(start, i - start).toUtf8();
            if (kept)
                bytes += char(name[i].unicode() - keptByteBase);
            start = i + 1;
        }
    }
    return bytes;
}

QString shownText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool paired = (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                            || (c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate());
        if (c.isSurrogate() && !paired)
            shown += QChar::ReplacementCharacter;
        else if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

} // namespace knight
