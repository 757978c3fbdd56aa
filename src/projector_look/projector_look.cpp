// SPDX-License-Identifier: GPL-3.0-or-later
#include "projector_look/projector_look.h"

#include "board/squares.h"
#include "language/language.h"
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

// textOn for the fills the view paints, worked out once: its powers are dear on every change.
Color textOnFill(Color fill)
{
    static const std::array<std::pair<Color, Color>, 6> known = [] {
        const ProjectorPalette &p = projectorPalette;
        std::array<std::pair<Color, Color>, 6> pairs;
        std::size_t i = 0;
        for (const Color fill : {p.light, p.dark, p.visited, p.reachable, p.knight, p.hint})
            pairs[i++] = {fill, textOn(fill)};
        return pairs;
    }();
    for (const auto &[knownFill, text] : known) {
        if (knownFill == fill)
            return text;
    }
    return textOn(fill);
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
    // The hint by shape as well as colour: a washed-out projector or a grayscale copy loses
    // yellow on beige, not a black frame on yellow.
    if (isSquare(marks.hint)) {
        view.squares[std::size_t(marks.hint)].color = projectorPalette.hint;
        view.marks.push_back({marks.hint, projectorPalette.hintFrame});
    }
    view.knight = knightOf(form);
    view.knightFigure = true;
    if (isSquare(view.knight))
        view.squares[std::size_t(view.knight)].color = projectorPalette.knight;
    for (Diagram::Cell &cell : view.squares)
        cell.text = textOnFill(cell.color);
    for (const int n : marks.named) {
        if (isSquare(n))
            view.marks.push_back({n, projectorPalette.named});
    }
    view.start = isSquare(marks.start) ? marks.start : -1;
    return view;
}

namespace {

QString movesLine(int moves, int squares = squareCount)
{
    return ProjectorText::tr("Ход %1 от %2").arg(moves).arg(squares);
}

QString kindLine(int kind)
{
    return ProjectorText::tr("Обиколка „%1“").arg(QLatin1StringView(tourKindCaptions[std::size_t(kind)]));
}

QString boardLine(BoardShape shape)
{
    return ProjectorText::tr("Дъска %1 × %2").arg(shape.files).arg(shape.ranks);
}

// On 8 x 8 the chosen kind; on another board, which one (the stored tours are not its own).
QString kindLine(const KnightForm &form)
{
    return form.shape() == BoardShape{} ? kindLine(form.problemIndex()) : boardLine(form.shape());
}

QString taskLine(int task)
{
    return ProjectorText::tr("Задача %1").arg(task);
}

QString pausedLine(int step, int squares = squareCount)
{
    return ProjectorText::tr("Галоп на пауза: %1/%2").arg(step).arg(squares);
}

QString runningLine(int step, int tempoMilliseconds, int squares = squareCount)
{
    return ProjectorText::tr("Галоп: %1/%2, по %3 с на ход")
        .arg(step)
        .arg(squares)
        .arg(languageLocale(languageInUse()).toString(tempoMilliseconds / 1000.0));
}

} // namespace

QStringList projectorStatus(const KnightForm &form, int tempoMilliseconds, int task)
{
    // While the gallop runs, its line says the move: one number changes at each step.
    const int squares = form.shape().count();
    if (form.gallopPaused())
        return {kindLine(form), pausedLine(shownGallopStep(form), squares)};
    if (form.gallopOn())
        return {kindLine(form), runningLine(shownGallopStep(form), tempoMilliseconds, squares)};
    // A pupil's own walk is not one of the stored tours: its line names the board instead.
    const bool ownWalk = form.walking() && !form.history().empty();
    return {movesLine(form.walking() ? int(form.history().size()) : squares, squares),
            task > 0 ? taskLine(task) : ownWalk ? boardLine(form.shape()) : kindLine(form)};
}

QStringList projectorStatusCandidates(std::span<const int> tempos, int tasks)
{
    QStringList lines{movesLine(squareCount), pausedLine(squareCount)};
    for (int kind = 0; kind < tourKindCount; ++kind)
        lines << kindLine(kind);
    for (const BoardShape shape : offeredShapes)
        lines << boardLine(shape);
    for (const int tempo : tempos)
        lines << runningLine(squareCount, tempo);
    for (int task = 1; task <= tasks; ++task)
        lines << taskLine(task);
    return lines;
}

} // namespace knight
