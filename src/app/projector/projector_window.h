// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture/diagram.h"

#include <QList>
#include <QWidget>

#include <span>
#include <vector>

class QAction;
class QLabel;
class QToolButton;

namespace knight {

class StatusLines;

// The view for the front of a class: the board as large as the screen's height, in colours a
// back row can read, a status line in large type and a button for each of the lesson's
// actions, large enough for a finger on an interactive whiteboard. It knows nothing of the
// window: it is given what to show and says which square was chosen and when to leave.
class ProjectorWindow : public QWidget
{
    Q_OBJECT

public:
    // Buttons on these actions; the gallop at these paces (milliseconds a step).
    ProjectorWindow(QWidget *parent, const QList<QAction *> &buttons, std::span<const int> tempos);

    void setContent(const Diagram &diagram, const QStringList &status, const QString &message);
    const Diagram &diagram() const { return diagram_; }
    // Where square n is, and the whole diagram (caption, board, coordinates), in the view's
    // coordinates.
    QRectF squareRect(int n) const;
    QRectF diagramArea() const;
    int cursorSquare() const { return cursor_; }
    StatusLines *status() const { return status_; }
    QLabel *message() const { return message_; }
    const std::vector<QToolButton *> &buttons() const { return buttons_; }

signals:
    void squareChosen(int n);
    void leave();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void restyle();
    void placeControls();
    QRegion changedArea(const Diagram &before, const Diagram &after) const;
    void moveCursor(int files, int ranks);

    Diagram diagram_;
    int cursor_ = -1; // shown once the arrows are used
    std::vector<int> tempos_;
    StatusLines *status_;
    QLabel *message_;
    std::vector<QToolButton *> buttons_;
};

} // namespace knight
