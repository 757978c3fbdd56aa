// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/puzzle_play.h"

#include "app/features/assistant.h"
#include "app/features/gallop_sound.h"
#include "app/form/form_view.h"
#include "app/form/square_label.h"
#include "notation/walk_notation.h"

#include <QAction>
#include <QRandomGenerator>

namespace knight {

namespace {

constexpr std::chrono::milliseconds aimBound{1000};

} // namespace

bool PuzzlePlay::isOn() const
{
    return puzzle_.has_value() && view_.lesson().activity() == Activity::Puzzle;
}

PuzzlePlay::PuzzlePlay(FormView &view, GallopSound &sound, QObject *parent)
    : QObject(parent)
    , view_(view)
    , sound_(sound)
{
}

void PuzzlePlay::setOn(bool on)
{
    if (!on) {
        stop({});
        return;
    }
    // The same puzzle may come again only by chance: each is new.
    if (const auto made = generatePuzzle(8, 8, Level::Medium, QRandomGenerator::global()->generate64()))
        start(*made);
}

void PuzzlePlay::start(const Puzzle &puzzle)
{
    const LessonState::Transition transition(view_.lesson());
    view_.lesson().enter(Activity::Puzzle);
    puzzle_ = puzzle;
    completed_ = celebrated_ = false;
    view_.action(ActionId::Puzzle)->setChecked(true);
    if (view_.form().canClear())
        view_.Command1_Click(int(Command::Clear));
    else
        followForm();
    view_.showMessage(
        tr("Пъзел: стигнете всяко дадено число точно с неговия ход. Започнете от полето с 1."));
}

void PuzzlePlay::stop(const QString &why)
{
    const LessonState::Transition transition(view_.lesson());
    if (isOn())
        view_.lesson().enter(Activity::FreePlay);
    puzzle_.reset();
    view_.action(ActionId::Puzzle)->setChecked(false);
    for (int n = 0; n < squareCount; ++n)
        view_.setClue(n, 0);
    if (!why.isEmpty())
        view_.showMessage(why);
}

bool PuzzlePlay::refuses(int n)
{
    if (!isOn() || !view_.form().walking() || !isSquare(n))
        return false;
    const KnightForm &form = view_.form();
    const std::vector<int> walk = form.walkSquares();
    // A click the walk would not play anyway is left to the walk.
    if (!walk.empty() && (!isKnightMove(walk.back(), n) || !form.board().square(n).caption.isEmpty()))
        return false;
    const int step = int(walk.size()) + 1;
    switch (conflictOf(*puzzle_, step, n)) {
    case ClueConflict::None:
        return false;
    case ClueConflict::SquareHasOtherNumber:
        view_.showMessage(tr("Не може: на полето %1 е дадено числото %2, а това е ход %3.")
                                              .arg(chessName(n))
                                              .arg(puzzle_->given[std::size_t(n)])
                                              .arg(step));
        break;
    case ClueConflict::NumberIsElsewhere:
        view_.showMessage(tr("Не може: ход %1 е на полето %2, където е дадено числото %1.")
                                              .arg(step)
                                              .arg(chessName(squareOfStep(*puzzle_, step))));
        break;
    }
    return true;
}

void PuzzlePlay::followForm()
{
    // Left by another activity's transition: its numbers go with it.
    if (puzzle_ && !isOn() && !view_.lesson().changing())
        stop({});
    if (!isOn())
        return;
    const KnightForm &form = view_.form();
    const bool shown = view_.form().walking();
    const std::vector<int> walk = form.walkSquares();
    // A walk brought back or read in that breaks the numbers ends the puzzle.
    for (std::size_t i = 0; shown && i < walk.size(); ++i) {
        if (conflictOf(*puzzle_, int(i) + 1, walk[i]) != ClueConflict::None) {
            stop(tr("Разходката не следва числата на пъзела, затова пъзелът приключи."));
            return;
        }
    }
    for (int n = 0; n < squareCount; ++n) {
        const bool free = form.board().square(n).caption.isEmpty();
        view_.setClue(n, shown && free ? puzzle_->given[std::size_t(n)] : 0);
    }
    if (walk.empty())
        completed_ = celebrated_ = false;
    if (shown && walk.size() == std::size_t(squareCount) && !celebrated_) {
        celebrated_ = true;
        view_.showMessage(
            completed_ ? tr("Пъзелът е довършен от помощника. Опитайте нов пъзел сами!")
                       : tr("Браво! Пъзелът е решен: всяко число е на мястото си."));
        sound_.chime();
    }
}

PuzzlePlay::Aim PuzzlePlay::aim(const std::vector<int> &walk) const
{
    const PuzzleCount count = countSolutions(*puzzle_, walk, 1, aimBound);
    switch (count.answer) {
    case PuzzleCount::Answer::One:
    case PuzzleCount::Answer::Many:
        return {count.first, {}};
    case PuzzleCount::Answer::None:
        return {{}, tr("Не: от тази позиция нито едно продължение не минава през дадените числа в техния ред.")};
    case PuzzleCount::Answer::Undecided:
        break;
    }
    return {{}, tr("Не е ясно: времето за проверка изтече, преди да бъде намерен отговор.")};
}

} // namespace knight
