// SPDX-License-Identifier: GPL-3.0-or-later
#include "tours/texts.h"

#include <array>
#include <string_view>

namespace knight {

namespace {

using Lines = std::initializer_list<std::string_view>;

QStringList toList(Lines lines)
{
    QStringList list;
    for (const std::string_view line : lines)
        list.append(QString::fromUtf8(line.data(), qsizetype(line.size())));
    return list;
}

} // namespace

QStringList descriptionLines(int kind)
{
    switch (kind) {
    case 0:
    case 1:
    case 2:
        return {};
    case 12:
        return toList({"Описаният вариант"});
    default:
        return toList({"Аналогично"});
    }
}

QString introductionText()
{
    return {};
}

QString quotationText()
{
    return QString::fromUtf8("Неприятното в това да си първият, направил нещо по \r\n"
                             "правилния начин, е, че никой не оценява колко трудно е \r\n"
                             "било. \r\n");
}

} // namespace knight
