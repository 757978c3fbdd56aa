// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "access/spoken.h"
#include "board/board.h"

#include "app/form/controls.h"

#include <QColor>
#include <QStaticText>
#include <QWidget>

class QPainter;

namespace knight {

// One board square: its back colour, a single-line border and its number centred. It takes
// the keyboard focus when clicked; Space and Enter play it as a click does.
class SquareLabel : public QWidget
{
    Q_OBJECT

public:
    SquareLabel(int n, QWidget *parent);

    int index() const { return n_; }
    void showSquare(const Square &square);
    // Where and how large the form is drawn; the square's place and its lines follow it.
    void setFormLayout(const controls::FormLayout &layout);
    QColor backColor() const { return backColor_; }
    QString caption() const { return caption_; }

    // What the square means beyond its number; it is part of its accessible name.
    void setCondition(SquareCondition condition);
    SquareCondition condition() const { return condition_; }
    // "Поле d4", "Поле d4, ход 5", "Поле f5, възможен ход", "Поле d4, ход 5, тук е конят".
    QString accessibleSquareName() const;

    // The keyboard cursor: a frame drawn while the square has the focus and the keyboard was
    // last used to get there.
    void setCursorShown(bool shown);
    bool isCursorShown() const { return cursorShown_ && hasFocus(); }

    // The assistant's hint: a frame for a moment, the square's own state untouched.
    // Warnsdorff's count, small in the top-right corner; -1: none.
    void setCount(int count);
    int count() const { return count_; }

    // A puzzle's number given on a square not yet walked: drawn in its own style; 0: none.
    void setClue(int number);
    int clue() const { return clue_; }

    // A task's start square before its first move: ringed, and named so.
    void setStartShown(bool shown);
    bool isStartShown() const { return startShown_; }

    void setHintShown(bool shown);
    bool isHintShown() const { return hintShown_; }

    // A click, however it came: mouse, key or assistive technology.
    void press() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    static QStaticText layOut(const QString &caption, const QFont &font);
    void paintClue(QPainter &painter) const;
    void announceNameChange();

    int n_;
    QColor backColor_;
    QString caption_;
    QStaticText captionText_; // laid out once per caption, not on every paint
    TwipsRect place_;         // as the board gives it; empty before the square is shown
    controls::FormLayout layout_;
    SquareCondition condition_ = SquareCondition::Plain;
    bool pressed_ = false;
    bool cursorShown_ = false;
    bool hintShown_ = false;
    bool startShown_ = false;
    int count_ = -1;
    int clue_ = 0;
};

} // namespace knight
