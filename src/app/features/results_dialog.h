// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/results_store.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QStandardItemModel;
class QTableView;

namespace knight {

class AttemptFilter;

// "Резултати": the class's attempts in a table that sorts by any column, filtered by pupil or
// task, and written out as CSV for a gradebook.
class ResultsDialog : public QDialog
{
    Q_OBJECT

public:
    ResultsDialog(ResultsStore &store, QWidget *parent);

    QTableView *table() const { return table_; }
    QComboBox *pupilFilter() const { return pupils_; }
    QComboBox *taskFilter() const { return tasks_; }
    // The attempts the filters leave, in the table's order, written to name; the reason of a
    // failure or null.
    QString exportTo(const QString &name) const;

private:
    void filter();
    void exportDialog();

    std::vector<Attempt> attempts_;
    QStandardItemModel *model_;
    AttemptFilter *sorted_;
    QTableView *table_;
    QComboBox *pupils_;
    QComboBox *tasks_;
    QLabel *problem_;
};

} // namespace knight
