// SPDX-License-Identifier: GPL-3.0-or-later
#include "access/spoken.h"

#include <QCoreApplication>

namespace knight {

// The texts of this file, in the language in use.
class SpokenText
{
    Q_DECLARE_TR_FUNCTIONS(SpokenText)
};

SquareCondition squareCondition(const KnightForm &form, int n)
{
    if (!isSquare(n))
        return SquareCondition::Plain;
    if (n == form.knightSquare())
        return SquareCondition::Knight;
    if (form.board().square(n).backColor == reachableColor)
        return form.gallopOn() ? SquareCondition::Galloped : SquareCondition::PossibleMove;
    return SquareCondition::Plain;
}

QString spokenSquareName(int n, const QString &caption, SquareCondition condition)
{
    if (!isSquare(n))
        return {};
    QString name = SpokenText::tr("Поле %1").arg(chessName(n));
    if (!caption.isEmpty())
        name += SpokenText::tr(", ход %1").arg(caption);
    switch (condition) {
    case SquareCondition::Plain:
        break;
    case SquareCondition::PossibleMove:
        name += SpokenText::tr(", възможен ход");
        break;
    case SquareCondition::Knight:
        name += SpokenText::tr(", тук е конят");
        break;
    case SquareCondition::Galloped:
        name += SpokenText::tr(", посетено в галопа");
        break;
    }
    return name;
}

bool hasPossibleMove(const KnightForm &form)
{
    if (form.timer().isActive())
        return false;
    for (int n = 0; n < squareCount; ++n) {
        if (form.board().square(n).backColor == reachableColor)
            return true;
    }
    return false;
}

QString walkAnnouncement(const KnightForm &form, qsizetype historyBefore)
{
    const qsizetype moves = form.history().size();
    if (moves == historyBefore || moves == 0)
        return {};
    const int knight = form.knightSquare();
    if (moves < historyBefore) {
        return SpokenText::tr("Ходът е върнат. Конят е на %1, ход %2.")
            .arg(chessName(knight))
            .arg(moves);
    }
    QString said = SpokenText::tr("Ход %1: %2.").arg(moves).arg(chessName(knight));
    if (moves == form.shape().count())
        said += SpokenText::tr(" Обиколката е пълна.");
    else if (!hasPossibleMove(form))
        said += SpokenText::tr(" Задънена улица: няма зелени полета. „Ход назад“ връща хода.");
    return said;
}

} // namespace knight
