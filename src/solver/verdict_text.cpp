// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/verdict_text.h"

#include <QCoreApplication>
#include <QStringList>

#include <bit>

namespace knight {

// The texts of this file, in the language in use.
class VerdictText
{
    Q_DECLARE_TR_FUNCTIONS(VerdictText)
};

namespace {

QString listOfSquares(const TourSolver &solver, const std::vector<int> &squares)
{
    QStringList names;
    for (const int n : squares)
        names.append(solverSquareName(solver, n));
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return VerdictText::tr("%1 и %2").arg(names.join(QStringLiteral(", ")), last);
}

} // namespace

QString solverSquareName(const TourSolver &solver, int n)
{
    return QChar(u'a' + n % solver.files()) + QString::number(n / solver.files() + 1);
}

QString verdictText(const TourSolver &solver, const TourSolver::Verdict &verdict)
{
    using Reason = TourSolver::Reason;
    if (verdict.answer == TourSolver::Answer::Yes)
        return verdict.goal == TourSolver::Goal::Closed
                   ? VerdictText::tr("Да: от тази позиция конят още може да обходи всички полета и да "
                                     "завърши на ход от първото поле – затворена обиколка.")
                   : VerdictText::tr("Да: от тази позиция конят още може да обходи всички полета.");
    const auto square = [&](std::size_t i) { return solverSquareName(solver, verdict.squares.at(i)); };
    switch (verdict.reason) {
    case Reason::DeadEnd:
        return VerdictText::tr("Не: от полето %1 конят няма свободно поле, на което да скочи – "
                               "задънена улица.")
            .arg(square(0));
    case Reason::Unreachable: {
        const int neighbours = std::popcount(solver.knightTargets(verdict.squares.at(0)));
        const QString why = neighbours == 2
                                ? VerdictText::tr("и двата му съседа са заети")
                                : VerdictText::tr("всичките %1 полета, от които конят стига до него, са заети")
                                      .arg(neighbours);
        return VerdictText::tr("Не: конят вече не може да стигне до полето %1: %2.").arg(square(0), why);
    }
    case Reason::TwoEnds:
        return VerdictText::tr("Не: полетата %1 могат да бъдат само последни, защото до всяко от "
                               "тях води само един свободен ход, а последно е само едно поле.")
            .arg(listOfSquares(solver, verdict.squares));
    case Reason::Split:
        return VerdictText::tr("Не: свободните полета са разделени на %1 части, между които конят "
                               "не може да премине; например полетата %2 са в различни части.")
            .arg(verdict.squares.size())
            .arg(listOfSquares(solver, verdict.squares));
    case Reason::Crowded:
    case Reason::CrowdedBesideEnd: {
        const bool besideEnd = verdict.reason == Reason::CrowdedBesideEnd;
        const auto first = verdict.squares.begin() + 1;
        const QString others = listOfSquares(solver, std::vector<int>(first, verdict.squares.end() - (besideEnd ? 1 : 0)));
        const bool knightThere = verdict.squares.front() == verdict.knight;
        const QString why = besideEnd
                                ? VerdictText::tr("Последно може да бъде само полето %1, до което води само един ход, затова конят трябва да влезе във всяко от тях по единия от двата му хода и да излезе по другия")
                                      .arg(square(verdict.squares.size() - 1))
                                : VerdictText::tr("Конят трябва да влезе във всяко от тях по единия от двата му хода и да излезе по другия");
        return (knightThere ? VerdictText::tr("Не: до всяко от полетата %1 водят само по два свободни хода и единият е от полето %2, където е конят. %3, а от %2 конят ще скочи само веднъж – към едно от тях.")
                            : VerdictText::tr("Не: до всяко от полетата %1 водят само по два свободни хода и единият е от полето %2. %3, а през %2 конят минава само веднъж и може да свърже само две от тях."))
            .arg(others, square(0), why);
    }
    case Reason::WrongColour:
        return VerdictText::tr("Не: полето %1 може да бъде само последно, но конят сменя цвета "
                               "на полето с всеки ход и ще завърши обиколката на поле с другия "
                               "цвят.")
            .arg(square(0));
    case Reason::NoWayBack:
        return VerdictText::tr("Не: до първото поле %1 вече не води нито едно свободно поле, така че обиколката не може да се затвори – конят няма откъде да се върне.")
            .arg(square(0));
    case Reason::NotClosed:
        return VerdictText::tr("Не: разходката е пълна, но последното поле %1 не е на ход на коня от "
                               "първото поле %2, така че обиколката е отворена.")
            .arg(square(1), square(0));
    case Reason::Exhausted:
        return VerdictText::tr("Не: бяха изпробвани всички продължения и нито едно не обхожда "
                               "цялата дъска.");
    case Reason::TimeOut:
    case Reason::None:
        break;
    }
    return VerdictText::tr("Не е ясно: времето за проверка изтече, преди да бъде намерен отговор.");
}

} // namespace knight
