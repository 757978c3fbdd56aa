// SPDX-License-Identifier: GPL-3.0-or-later
#include "tours/knight_form.h"

#include "tours/catalogue.h"
#include "tours/found_tour.h"
#include "tours/texts.h"

namespace knight {

namespace {

// The stored tours as the hidden lists hold them, made once.
const std::array<QStringList, tourKindCount> &list1()
{
    static const std::array<QStringList, tourKindCount> lists = [] {
        std::array<QStringList, tourKindCount> items;
        for (int kind = 0; kind < tourKindCount; ++kind)
            items[std::size_t(kind)] = storedTourItems(kind);
        return items;
    }();
    return lists;
}

} // namespace

KnightForm::KnightForm()
    : text1_(introductionText())
{
}

void KnightForm::Form_Load()
{
    setEnabled(Command::Gallop, false);
    writableBoard().setVisible(0, true);
    writableBoard().updateBoard(BoardUpdateKind::Create);
    setMoveCount(0);
    problemIndex_ = 0;
}

void KnightForm::Command1_Click(int index)
{
    // A disabled button delivers no click.
    if (index < 0 || index >= commandCount || !isEnabled(Command(index)))
        return;
    switch (Command(index)) {
    case Command::Show:
        showTour();
        break;
    case Command::Gallop:
        startGallop();
        break;
    case Command::Clear:
        clearAll();
        break;
    case Command::MoveBack:
        undoMove();
        break;
    }
}

void KnightForm::Option1_Click(int index)
{
    // The stored tours are 8 x 8 tours.
    if (index < 0 || index >= tourKindCount || shape() != BoardShape{})
        return;
    clearAll();
    problemIndex_ = index;
    describedKind_ = index;
    setText(joinLines(descriptionLines(index)));
}

void KnightForm::retranslateText()
{
    setText(describedKind_ < 0 ? introductionText() : joinLines(descriptionLines(describedKind_)));
}

void KnightForm::showSelectedTour()
{
    writableBoard().updateBoard(BoardUpdateKind::ShowTour, tourItems());
}

const QStringList &KnightForm::tourItems() const
{
    return shape() == BoardShape{} ? list1()[std::size_t(problemIndex_)] : foundTour_;
}

void KnightForm::showTour()
{
    // Found before the walk goes: it starts where the walk did.
    if (shape() != BoardShape{})
        foundTour_ = foundTourItems(shape(), history().isEmpty() ? -1 : history().first().toInt());
    if (tourItems().isEmpty())
        return; // a board without a tour: nothing to show
    keepWalk();
    writableBoard().updateBoard(BoardUpdateKind::Reset);
    showSelectedTour();
    setEnabled(Command::Show, false);
    setEnabled(Command::Gallop, true);
    list2().clear();
    forgetRedo();
}

void KnightForm::startGallop()
{
    setEnabled(Command::Gallop, false);
    // The last item that reads 1, or square 0 when none does.
    int start = 0;
    const QStringList &tour = tourItems();
    for (int n = 0; n < tour.size(); ++n) {
        if (tour.at(n).toInt() == 1)
            start = n;
    }
    writableBoard().setBackColor(start, reachableColor);
    gallopStep_ = 0;
    timer().start();
}

void KnightForm::Timer1_Timer()
{
    ++gallopStep_;
    if (gallopStep_ > shape().count()) {
        clearAll();
        return;
    }
    // The numbers are read back from the board; the spare element's caption is always empty.
    for (int n = 0; n < board().elementCount(); ++n) {
        if (board().square(n).caption.toInt() == gallopStep_)
            writableBoard().setBackColor(n, reachableColor);
    }
}

void KnightForm::pauseGallop(bool paused)
{
    if (!gallopOn() || paused == gallopPaused())
        return;
    setGallopPaused(paused);
    if (paused)
        timer().stop();
    else
        timer().start();
}

void KnightForm::stepGallop()
{
    if (gallopPaused())
        Timer1_Timer();
}

void KnightForm::stepGallopBack()
{
    if (!gallopPaused() || gallopStep_ == 0)
        return;
    // Step 1 paints the square the gallop started on, which is green from its start.
    for (int n = 0; n < squareCount && gallopStep_ > 1; ++n) {
        if (board().square(n).caption.toInt() == gallopStep_)
            writableBoard().setBackColor(n, baseColor(n));
    }
    --gallopStep_;
}

void KnightForm::setGallopInterval(int milliseconds)
{
    timer().setInterval(milliseconds);
}

std::vector<int> KnightForm::squaresOnBoard() const
{
    if (!history().isEmpty() || isEnabled(Command::Show))
        return walkSquares();
    std::vector<int> tour(std::size_t(shape().count()));
    for (int n = 0; n < squareCount; ++n) {
        if (shape() == BoardShape{})
            tour[std::size_t(tourStep(storedTours[std::size_t(problemIndex_)], n) - 1)] = n;
        else if (shape().contains(n))
            tour[std::size_t(foundTour_[n].toInt() - 1)] = n;
    }
    return tour;
}

void KnightForm::setText(const QString &text)
{
    text1_ = text;
    ++textRevision_;
}

} // namespace knight
