// SPDX-License-Identifier: GPL-3.0-or-later
#include "tours/texts.h"

#include "tours/catalogue.h"
#include "tours/catalogue_texts.h"

#include <span>

namespace knight {

namespace {

constexpr int describedKind = 12;

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QStringList toList(std::span<const std::string_view> lines)
{
    QStringList list;
    for (const std::string_view line : lines)
        list.append(fromUtf8(line));
    return list;
}

} // namespace

QString joinLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += lineBreak;
    }
    return text;
}

QStringList descriptionLines(int kind)
{
    switch (kind) {
    case 0:
        return toList(texts::classicalTour);
    case 1:
        return toList(texts::ringAndCentre);
    case 2:
        return toList(texts::quarters);
    case describedKind:
        return {fromUtf8(texts::describedVariant)};
    default:
        return {fromUtf8(texts::similarly)};
    }
}

QString introductionText()
{
    QStringList paragraphs = toList(texts::introduction);
    // The last paragraph ends with the described tour, square by square.
    paragraphs.last() += tourInStepOrder(describedKind).join(u',') + u'.';
    return joinLines(paragraphs);
}

QString quotationText()
{
    return joinLines(toList(texts::quotation));
}

} // namespace knight
