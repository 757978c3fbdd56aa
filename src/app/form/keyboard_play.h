// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "access/square_typing.h"

class QKeyEvent;

namespace knight {

class MainWindow;

// The board by keyboard: a cursor moved by the arrow keys and played by Space or Enter (on the
// focused square), and squares' names typed anywhere in the window.
class KeyboardPlay
{
public:
    explicit KeyboardPlay(MainWindow &window);

    // Where the cursor is, or a1 when the board it was on was changed for a smaller one.
    int cursorSquare() const;
    // The keyboard's way to the board: the cursor on the knight's square, or where it was.
    void focusBoard();
    void moveCursor(int n);
    // True when the key was the board's.
    bool keyPressed(QKeyEvent *event);

private:
    bool moveCursorByArrow(int key);

    MainWindow &window_;
    int cursor_ = 0;
    SquareTyping typing_;
};

} // namespace knight
