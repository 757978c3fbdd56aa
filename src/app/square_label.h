// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"

#include <QColor>
#include <QStaticText>
#include <QWidget>

namespace knight {

// One board square: its back colour, a single-line border and its number centred.
class SquareLabel : public QWidget
{
    Q_OBJECT

public:
    SquareLabel(int n, QWidget *parent);

    void showSquare(const Square &square);
    QColor backColor() const { return backColor_; }
    QString caption() const { return caption_; }
    // "Поле d4", with a number "Поле d4, ход 5".
    QString accessibleSquareName() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static QStaticText layOut(const QString &caption, const QFont &font);

    int n_;
    QColor backColor_;
    QString caption_;
    QStaticText captionText_; // laid out once per caption, not on every paint
    bool pressed_ = false;
};

} // namespace knight
