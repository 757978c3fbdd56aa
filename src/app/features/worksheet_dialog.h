// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "worksheet/worksheet.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace knight {

class FormView;

// "Работен лист…": the board, the level, how many puzzles and whether closed; then the file.
class WorksheetDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WorksheetDialog(QWidget *parent);

    // The whole way from the menu: this dialog, the file dialog, the puzzles made with a
    // progress window that can be cancelled, the PDF written, and what came of it said.
    static void ask(FormView &view, QWidget *window);

    WorksheetRequest request() const;
    QComboBox *boardBox() const { return board_; }
    QComboBox *levelBox() const { return level_; }
    QSpinBox *countBox() const { return count_; }
    QCheckBox *closedBox() const { return closed_; }

private:
    void boardChosen();

    QComboBox *board_;
    QComboBox *level_;
    QSpinBox *count_;
    QCheckBox *closed_;
};

// Makes the request's puzzles off the window's thread, with a progress window over parent, and
// writes them to path. Returns the problem; empty when written, or when cancelled (cancelled
// tells which).
QString makeWorksheet(QWidget *parent, const WorksheetRequest &request, const QString &path, bool *cancelled = nullptr);

} // namespace knight
