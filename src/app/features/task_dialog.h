// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QTreeWidget;

namespace knight {

class TaskPlay;

// "Задачи": the lesson's tasks with the pupil's best time at each, one to start, and the
// pupil's name to change.
class TaskDialog : public QDialog
{
    Q_OBJECT

public:
    TaskDialog(TaskPlay &tasks, QWidget *parent);
    // The task chosen (counted from 0), or none.
    static std::optional<int> choose(TaskPlay &tasks, QWidget *parent);
    QTreeWidget *list() const { return list_; }

private:
    void fill();

    TaskPlay &tasks_;
    QTreeWidget *list_;
    QLabel *pupil_;
    QLabel *unread_;
};

} // namespace knight
