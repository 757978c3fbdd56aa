// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_button.h"

#include "app/controls.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace knight {

CommandButton::CommandButton(const QString &caption, QColor face, QWidget *parent)
    : QPushButton(caption, parent)
    , face_(face)
{
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QBrush faceBrush(face_);
    qDrawWinButton(&painter, rect(), palette(), isDown(), &faceBrush);

    const QRect textRect = isDown() ? rect().translated(1, 1) : rect();
    const Color grey = controls::disabledTextColor;
    painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                               : QColor(grey.red, grey.green, grey.blue));
    painter.drawText(textRect, Qt::AlignCenter, text());

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(4, 4, -4, -4);
        option.backgroundColor = face_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace knight
