// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/class_table.h"

#include <QDialog>

class QLabel;
class QTableWidget;
class QTimer;

namespace knight {

// "Класът": the class's table of pupils by tasks (the best time of a solve, "*" where help was
// used, "не" where tried and not solved), in the projector view's colours and sizes. On a
// server it is brought up to date within moments of any pupil's attempt, at the server's word
// (LISTEN/NOTIFY); on this computer's file, every few seconds.
class ClassView : public QDialog
{
    Q_OBJECT

public:
    ClassView(ResultsStore &store, QWidget *parent);
    // The one view of the window, shown and raised.
    static ClassView *showFor(ResultsStore &store, QWidget *window);

    QTableWidget *table() const { return table_; }
    const ClassTable &shown() const { return shown_; }
    // Read again and shown.
    void refresh();
    QSize sizeHint() const override;

private:
    // Listens to the server's notes, again after a connection was lost; whether it does (and
    // has read what was stored meanwhile).
    bool listen();

    ResultsStore &store_;
    QLabel *problem_;
    QTableWidget *table_;
    QTimer *poll_;
    ClassTable shown_;
};

} // namespace knight
