// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/board_choice.h"

#include "app/features/choice_menu.h"
#include "app/form/form_view.h"

#include <algorithm>

namespace knight {

namespace {

// Numbers and a multiplication sign read alike in both languages.
QString boardName(BoardShape shape)
{
    return QStringLiteral("%1 × %2").arg(shape.files).arg(shape.ranks);
}

int indexOf(BoardShape shape)
{
    return int(std::ranges::find(offeredShapes, shape) - offeredShapes.begin());
}

} // namespace

BoardChoice::BoardChoice(FormView &view, QWidget *window)
    : QObject(window)
    , view_(view)
    , window_(window)
{
}

void BoardChoice::nextBoard()
{
    const std::size_t next = (std::size_t(indexOf(view_.form().shape())) + 1) % offeredShapes.size();
    view_.setBoardShape(offeredShapes[next]);
}

QMenu *BoardChoice::menu()
{
    if (menu_)
        return menu_;
    menu_ = new ChoiceMenu(window_);
    for (const BoardShape shape : offeredShapes)
        menu_->addChoice(boardName(shape), indexOf(shape), [this, shape] { view_.setBoardShape(shape); });
    menu_->check(indexOf(view_.form().shape()));
    return menu_;
}

void BoardChoice::followForm()
{
    if (menu_)
        menu_->check(indexOf(view_.form().shape()));
}

} // namespace knight
