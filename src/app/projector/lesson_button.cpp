// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/projector/lesson_button.h"

#include "picture/qt_color.h"
#include "projector_look/projector_look.h"

#include <QPainter>

#include <algorithm>

namespace knight {

LessonButton::LessonButton(QAction *action, QWidget *parent)
    : QToolButton(parent)
{
    setDefaultAction(action);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

LessonButton::Look LessonButton::look() const
{
    return {isEnabled(), isChecked(), hasFocus(), text(), size(), font().key(), devicePixelRatioF()};
}

QPixmap LessonButton::paintLook(const Look &look) const
{
    const ProjectorPalette &p = projectorPalette;
    QPixmap picture(look.size * look.pixelRatio);
    picture.setDevicePixelRatio(look.pixelRatio);
    picture.fill(toQColor(p.background));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(QPointF(0, 0), QSizeF(look.size));
    const double radius = look.size.height() / 8;
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(!look.enabled ? p.disabledButton : look.checked ? p.checkedButton : p.button));
    painter.drawRoundedRect(whole, radius, radius);
    if (look.focused) {
        const double width = std::max(2, look.size.height() / 16);
        painter.setPen(QPen(toQColor(p.hint), width));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(whole.adjusted(width / 2, width / 2, -width / 2, -width / 2), radius, radius);
    }
    painter.setPen(toQColor(look.enabled ? p.buttonText : p.disabledText));
    painter.setFont(font());
    painter.drawText(whole, Qt::AlignCenter, look.text);
    return picture;
}

void LessonButton::paintEvent(QPaintEvent *)
{
    if (const Look now = look(); now != shown_ || picture_.isNull()) {
        picture_ = paintLook(now);
        shown_ = now;
    }
    QPainter(this).drawPixmap(0, 0, picture_);
}

} // namespace knight
