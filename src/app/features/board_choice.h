// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/squares.h"

#include <QObject>

class QMenu;
class QWidget;

namespace knight {

class ChoiceMenu;
class FormView;

// "Дъска": the board's size, chosen in its submenu or stepped through with its key. The walk
// on the board it replaces is kept, so that "Ход назад" (Ctrl+Z) brings it back with its board.
class BoardChoice : public QObject
{
    Q_OBJECT

public:
    BoardChoice(FormView &view, QWidget *window);

    // The next board offered, after 8 x 8 the smallest again.
    void nextBoard();
    // The submenu of the boards, the one in use checked.
    QMenu *menu();
    void followForm();

private:
    FormView &view_;
    QWidget *window_;
    ChoiceMenu *menu_ = nullptr;
};

} // namespace knight
