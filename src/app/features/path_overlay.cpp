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

void PathOverlay::setPath(const std::vector<int> &path)
{
    if (path_ != path) {
        path_ = path;
        update();
    }
}

void PathOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintPath(painter, QRectF(rect()), path_);
}

} // namespace knight
