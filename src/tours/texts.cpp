// SPDX-License-Identifier: GPL-3.0-or-later
#include "tours/texts.h"

#include "tours/catalogue.h"
#include "tours/catalogue_texts.h"

#include <QCoreApplication>


#include <span>

namespace knight {

namespace {

constexpr int describedKind = 12;

// A catalogue text in the language in use; each is a whole string literal, so data() ends in
// a null byte.
QString fromUtf8(std::string_view text)
{
    return QCoreApplication::translate("Catalogue", text.data());
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
    QStringList lines;
    for (const std::string_view line : texts::quotation)
        lines.append(QString::fromUtf8(line.data(), qsizetype(line.size())));
    return joinLines(lines);
}

} // namespace knight
