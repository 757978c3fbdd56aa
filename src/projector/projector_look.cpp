// SPDX-License-Identifier: GPL-3.0-or-later
#include "projector/projector_look.h"

#include "board/squares.h"
#include "tours/knight_form.h"
#include "tours/stored_tours.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace knight {

// The texts of this file, in the language in use.
class ProjectorText
{
    Q_DECLARE_TR_FUNCTIONS(ProjectorText)
};

namespace {

double linear(std::uint8_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The view's colour for a square the window paints in a designed colour.
Color fillFor(Color designed, int n)
{
    if (designed == visitedColor)
        return projectorPalette.visited;
    if (designed == reachableColor)
        return projectorPalette.reachable;
    return baseColor(n) == lightColor ? projectorPalette.light : projectorPalette.dark;
}

// The gallop's first square is coloured as it starts: step 0 shows as the first.
int shownGallopStep(const KnightForm &form)
{
    return std::max(form.gallopStep(), 1);
}

// The square the knight stands on: the walk's newest, or the gallop's step reached.
int knightOf(const KnightForm &form)
{
    if (!form.gallopOn())
        return form.knightSquare();
    const std::vector<int> tour = form.squaresOnBoard();
    const int step = shownGallopStep(form);
    return step <= int(tour.size()) ? tour[std::size_t(step - 1)] : -1;
}

} // namespace

double relativeLuminance(Color colour)
{
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
}

double contrastRatio(Color a, Color b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color textOn(Color fill)
{
    constexpr Color black{0, 0, 0};
    constexpr Color white{255, 255, 255};
    return contrastRatio(black, fill) >= contrastRatio(white, fill) ? black : white;
}

Diagram projectorDiagram(Diagram window, const KnightForm &form, const ProjectorMarks &marks)
{
    Diagram view = std::move(window);
    for (int n = 0; n < squareCount; ++n) {
        Diagram::Cell &cell = view.squares[std::size_t(n)];
        cell.color = fillFor(cell.color, n);
    }
    if (isSquare(marks.hint))
        view.squares[std::size_t(marks.hint)].color = projectorPalette.hint;
    view.knight = knightOf(form);
    view.knightFigure = true;
    if (isSquare(view.knight))
        view.squares[std::size_t(view.knight)].color = projectorPalette.knight;
    for (Diagram::Cell &cell : view.squares)
        cell.text = textOn(cell.color);
    for (const int n : marks.named) {
        if (isSquare(n))
            view.marks.push_back({n, projectorPalette.named});
    }
    if (isSquare(marks.cursor))
        view.marks.push_back({marks.cursor, projectorPalette.cursor});
    return view;
}

QStringList projectorStatus(const KnightForm &form, int tempoMilliseconds)
{
    const int moves = form.walking() ? int(form.history().size()) : form.gallopOn() ? shownGallopStep(form) : squareCount;
    QStringList lines{ProjectorText::tr("Ход %1 от %2").arg(moves).arg(squareCount),
                      ProjectorText::tr("Обиколка „%1“")
                          .arg(QLatin1StringView(tourKindCaptions[std::size_t(form.problemIndex())]))};
    if (form.gallopPaused())
        lines << ProjectorText::tr("Галоп на пауза: %1/%2").arg(shownGallopStep(form)).arg(squareCount);
    else if (form.gallopOn())
        lines << ProjectorText::tr("Галоп: %1/%2, по %3 с на ход")
                     .arg(shownGallopStep(form))
                     .arg(squareCount)
                     .arg(QLocale().toString(tempoMilliseconds / 1000.0));
    return lines;
}

} // namespace knight
