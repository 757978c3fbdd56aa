// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QToolButton>

namespace knight {

// A button of the projector view on one action: large, in the view's colours (its own, the
// checked one, the disabled one, a frame while it has the focus). Painted from a picture of its
// look, made again only when the look changes: a repaint of the whole view draws ten of them.
class LessonButton : public QToolButton
{
    Q_OBJECT

public:
    LessonButton(QAction *action, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Look {
        bool enabled = false;
        bool checked = false;
        bool focused = false;
        QString text;
        QSize size;
        QString font;
        qreal pixelRatio = 1;
        friend bool operator==(const Look &, const Look &) = default;
    };
    Look look() const;
    QPixmap paintLook(const Look &look) const;

    Look shown_;
    QPixmap picture_;
};

} // namespace knight
