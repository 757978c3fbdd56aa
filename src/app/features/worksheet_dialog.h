// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "worksheet/worksheet.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace knight {

class FormView;
class Preferences;

// "Работен лист…": the board, the level, how many puzzles, the seed and whether closed (the
// last choice remembered); then the file.
class WorksheetDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WorksheetDialog(QWidget *parent, const Preferences *remembered = nullptr);

    // The whole way from the menu: this dialog, the file dialog, the puzzles made with a
    // progress window that can be cancelled, the PDF written, and what came of it said.
    static void ask(FormView &view, QWidget *window);

    // A seed left empty is a new one, drawn here.
    WorksheetRequest request() const;
    void remember(Preferences &preferences) const;
    // What the window says when a set is written: how many, where the key is, how to remake it.
    static QString madeText(const WorksheetRequest &request, const QString &path, int made);
    QComboBox *boardBox() const { return board_; }
    QComboBox *levelBox() const { return level_; }
    QSpinBox *countBox() const { return count_; }
    QLineEdit *seedBox() const { return seed_; }
    QCheckBox *closedBox() const { return closed_; }

private:
    void boardChosen();

    QComboBox *board_;
    QComboBox *level_;
    QSpinBox *count_;
    QLineEdit *seed_;
    QCheckBox *closed_;
};

// Makes the request's puzzles off the window's thread, with a progress window over parent, and
// writes them and their key beside path. Returns the problem; empty when written, or when
// cancelled (cancelled tells which); made says how many puzzles the board gave.
QString makeWorksheet(QWidget *parent, const WorksheetRequest &request, const QString &path, bool *cancelled = nullptr,
                      int *made = nullptr);

} // namespace knight
