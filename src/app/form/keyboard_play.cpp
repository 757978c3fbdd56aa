// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/keyboard_play.h"

#include "app/form/mainwindow.h"
#include "app/form/square_label.h"

#include <QKeyEvent>

namespace knight {

KeyboardPlay::KeyboardPlay(MainWindow &window)
    : window_(window)
{
}

int KeyboardPlay::cursorSquare() const
{
    return window_.form().shape().contains(cursor_) ? cursor_ : 0;
}

void KeyboardPlay::focusBoard()
{
    const int knight = window_.form().knightSquare();
    moveCursor(isSquare(knight) ? knight : cursorSquare());
}

void KeyboardPlay::moveCursor(int n)
{
    if (isSquare(cursor_))
        window_.square(cursor_)->setCursorShown(false);
    cursor_ = n;
    SquareLabel *square = window_.square(n);
    square->setCursorShown(true);
    square->setFocus(Qt::OtherFocusReason);
}

// Up is towards rank 8, as the board is drawn; the cursor stops at the edges.
bool KeyboardPlay::moveCursorByArrow(int key)
{
    int row = squareRow(cursor_);
    int column = squareColumn(cursor_);
    switch (key) {
    case Qt::Key_Up:
        ++row;
        break;
    case Qt::Key_Down:
        --row;
        break;
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    default:
        return false;
    }
    if (window_.form().shape().holds(row, column))
        moveCursor(squareAt(row, column));
    return true;
}

bool KeyboardPlay::keyPressed(QKeyEvent *event)
{
    auto *focused = qobject_cast<SquareLabel *>(window_.focusWidget());
    if (focused && event->modifiers() == Qt::NoModifier) {
        if (cursor_ != focused->index()) {
            window_.square(cursor_)->setCursorShown(false);
            cursor_ = focused->index();
        }
        if (moveCursorByArrow(event->key())) {
            typing_.reset();
            return true;
        }
    }
    // A square's name typed anywhere in the window plays it.
    const QString typed = event->text();
    if (typed.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const int n = typing_.feed(typed.front(), event->nativeScanCode());
        // A square off a smaller board is typed in vain.
        if (window_.form().shape().contains(n)) {
            moveCursor(n);
            window_.Label2_Click(n);
        }
        if (isSquare(n) || typing_.isPending())
            return true;
    }
    return false;
}

} // namespace knight
