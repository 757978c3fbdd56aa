// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/command_button.h"

#include "app/form/controls.h"
#include "picture/qt_color.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace knight {

CommandButton::CommandButton(QColor face, QWidget *parent)
    : QPushButton(parent)
    , face_(face)
{
    caption_.setTextFormat(Qt::PlainText);
}

void CommandButton::setCaption(const QString &caption)
{
    setText(caption);
    caption_.setText(caption);
    caption_.prepare(QTransform(), font());
    update();
}

// The caption is laid out again in the new font now: its size centres it before it is drawn,
// and a layout kept from the old font would sit off-centre or be cut at the new size.
void CommandButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        caption_.prepare(QTransform(), font());
}

// Pressing and releasing schedule the repaint with everything else the click changes, where
// Qt's own buttons repaint the whole window at once, twice per click.
void CommandButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !hitButton(event->position().toPoint())) {
        event->ignore();
        return;
    }
    setDown(true);
}

void CommandButton::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        setDown(hitButton(event->position().toPoint()));
}

void CommandButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isDown()) {
        event->ignore();
        return;
    }
    setDown(false);
    if (hitButton(event->position().toPoint()))
        emit clicked();
}

// Enter and Return press a focused button, as Space does.
void CommandButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

// A raised face with a two-pixel bevel, sunken while pressed; drawn with solid fills, since a
// button repaints on every press and release.
void CommandButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    const bool sunken = isDown();
    const QColor topLeft = sunken ? palette().color(QPalette::Shadow) : palette().color(QPalette::Light);
    const QColor bottomRight = sunken ? palette().color(QPalette::Light) : palette().color(QPalette::Shadow);
    const QColor innerBottomRight = palette().color(QPalette::Dark);

    const auto px = [this](double designed) { return std::max(1, int(designed * scale_ + 0.5)); };
    const int line = px(1);
    painter.fillRect(r, bottomRight);
    painter.fillRect(r.x(), r.y(), r.width() - line, r.height() - line, topLeft);
    painter.fillRect(r.x() + line, r.y() + line, r.width() - 2 * line, r.height() - 2 * line, innerBottomRight);
    painter.fillRect(r.adjusted(line, line, -2 * line, -2 * line), face_);

    painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                               : toQColor(controls::disabledTextColor));
    const QSizeF size = caption_.size();
    const QPointF offset = sunken ? QPointF(line, line) : QPointF();
    painter.drawStaticText(QPointF((r.width() - size.width()) / 2, (r.height() - size.height()) / 2) + offset,
                           caption_);

    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::ButtonText), scale_ > 1 ? line : 0, Qt::DotLine));
        painter.drawRect(r.adjusted(px(4), px(4), -px(5), -px(5)));
    }
}

void CommandButton::setScale(double scale)
{
    if (scale != scale_) {
        scale_ = scale;
        update();
    }
}

} // namespace knight
