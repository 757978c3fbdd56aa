// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/square_label.h"

#include "app/controls.h"

#include <QMouseEvent>
#include <QPainter>

namespace knight {

SquareLabel::SquareLabel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void SquareLabel::showSquare(const Square &square)
{
    const QColor color(square.backColor.red, square.backColor.green, square.backColor.blue);
    if (color != backColor_ || square.caption != caption_) {
        backColor_ = color;
        caption_ = square.caption;
        update();
    }
    if (toolTip() != square.toolTip)
        setToolTip(square.toolTip);
    setGeometry(controls::pixelRect(square.rect));
    setVisible(square.visible);
}

void SquareLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), backColor_);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!caption_.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter, caption_);
    }
}

// A click is a press and a release of the left button on the same square; a quick second
// click arrives as a double-click, which Qt turns into a press as well.
void SquareLabel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
}

void SquareLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

} // namespace knight
