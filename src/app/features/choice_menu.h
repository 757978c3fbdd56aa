// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QVariant>

#include <functional>

namespace knight {

// A submenu of exclusive choices, such as the gallop's paces or the languages: one checkable
// action for each value, the value as its data; choosing one calls choose with its value.
class ChoiceMenu : public QMenu
{
public:
    explicit ChoiceMenu(QWidget *parent)
        : QMenu(parent)
        , group_(new QActionGroup(this))
    {
    }

    void addChoice(const QString &text, const QVariant &value, const std::function<void()> &choose)
    {
        QAction *action = addAction(text);
        action->setCheckable(true);
        action->setData(value);
        group_->addAction(action);
        connect(action, &QAction::triggered, this, choose);
    }

    // The choice with this value checked, every other one not.
    void check(const QVariant &value)
    {
        for (QAction *action : group_->actions())
            action->setChecked(action->data() == value);
    }

    // Each choice named again from its value.
    void rename(const std::function<QString(const QVariant &)> &name)
    {
        for (QAction *action : group_->actions())
            action->setText(name(action->data()));
    }

private:
    QActionGroup *group_;
};

} // namespace knight
