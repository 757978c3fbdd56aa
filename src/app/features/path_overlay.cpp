// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/path_overlay.h"

#include "picture/diagram.h"

#include <QPainter>

namespace knight {

PathOverlay::PathOverlay(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void PathOverlay::setPath(const std::vector<int> &path, BoardShape shape)
{
    if (path_ != path || shape_ != shape) {
        path_ = path;
        shape_ = shape;
        update();
    }
}

void PathOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintPath(painter, QRectF(rect()), shape_, path_);
}

} // namespace knight
