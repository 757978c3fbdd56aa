// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/task_dialog.h"

#include "app/features/task_play.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace knight {

TaskDialog::TaskDialog(TaskPlay &tasks, QWidget *parent)
    : QDialog(parent)
    , tasks_(tasks)
    , list_(new QTreeWidget(this))
    , pupil_(new QLabel(this))
    , unread_(new QLabel(this))
{
    setWindowTitle(tr("Задачи"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("№"), tr("Задача"), tr("Целево време"), tr("Най-добро време")});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Each column as wide as its texts: a stretched last one would outgrow the room it was given.
    list_->header()->setStretchLastSection(false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Започни"));
    QPushButton *rename = buttons->addButton(tr("Друг ученик…"), QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pupil_);
    layout->addWidget(list_);
    unread_->setWordWrap(true);
    layout->addWidget(unread_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, &QDialog::accept);
    connect(rename, &QPushButton::clicked, this, [this] {
        tasks_.askPupil(true);
        fill();
    });
    fill();
    list_->setCurrentItem(list_->topLevelItem(tasks_.suggested()));
    // Every task in sight, without scrolling, where the screen has room.
    list_->header()->resizeSections(QHeaderView::ResizeToContents);
    const int frame = 2 * list_->frameWidth();
    list_->setMinimumSize(list_->header()->length() + frame + list_->verticalScrollBar()->sizeHint().width(),
                          list_->sizeHintForRow(0) * (list_->topLevelItemCount() + 2) + frame);
}

void TaskDialog::fill()
{
    pupil_->setText(tr("Ученик: %1").arg(shownName(tasks_.pupil())));
    pupil_->setToolTip(tasks_.pupil().size() > shownNameLength ? tasks_.pupil() : QString());
    const int current = list_->currentIndex().row();
    list_->clear();
    QString problem;
    const std::vector<int> best = tasks_.bestTimes(&problem);
    // Not known is not "not solved": the list says why its best times are missing.
    unread_->setText(problem.isNull() ? QString() : tr("Най-добрите времена не могат да се прочетат: %1.").arg(problem));
    unread_->setVisible(!problem.isNull());
    for (std::size_t i = 0; i < lessonTasks().size(); ++i) {
        const Task &task = lessonTasks()[i];
        auto *item = new QTreeWidgetItem(list_, {QString::number(i + 1), taskTitle(task),
                                                 minutesAndSeconds(int(task.target.count())),
                                                 best[i] < 0 ? QStringLiteral("—") : minutesAndSeconds(best[i])});
        item->setTextAlignment(0, Qt::AlignRight);
    }
    if (current >= 0)
        list_->setCurrentItem(list_->topLevelItem(current));
}

std::optional<int> TaskDialog::choose(TaskPlay &tasks, QWidget *parent)
{
    TaskDialog dialog(tasks, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.list_->currentItem())
        return std::nullopt;
    return dialog.list_->indexOfTopLevelItem(dialog.list_->currentItem());
}

} // namespace knight
