// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPushButton>
#include <QStaticText>

namespace knight {

// A push button whose face shows exactly its back colour; disabled, it keeps the face and
// greys its text.
class CommandButton : public QPushButton
{
public:
    CommandButton(QColor face, QWidget *parent);

    void setCaption(const QString &caption);

    QColor face() const { return face_; }
    // The bevel and the focus frame grow with the form.
    void setScale(double scale);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QColor face_;
    QStaticText caption_; // keeps its layout between paints
    double scale_ = 1;
};

} // namespace knight
