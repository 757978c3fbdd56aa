// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/class_table.h"

#include <QCollator>

#include <functional>
#include <map>

namespace knight {

ClassTable classTable(const std::vector<Attempt> &attempts, std::size_t tasks)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::map<QString, std::vector<ClassCell>, std::function<bool(const QString &, const QString &)>> rows(
        [&collator](const QString &a, const QString &b) {
            const int order = collator.compare(a, b);
            return order != 0 ? order < 0 : a < b;
        });
    for (const Attempt &attempt : attempts) {
        const QString pupil = pupilName(attempt.pupil);
        std::vector<ClassCell> &row = rows.try_emplace(pupil, tasks).first->second;
        if (attempt.task < 1 || std::size_t(attempt.task) > tasks)
            continue;
        ClassCell &cell = row[std::size_t(attempt.task - 1)];
        ++cell.attempts;
        cell.help |= attempt.help;
        if (attempt.outcome == Outcome::Solved && (cell.best < 0 || attempt.seconds < cell.best))
            cell.best = attempt.seconds;
    }
    ClassTable table;
    for (auto &[pupil, row] : rows) {
        table.pupils << pupil;
        table.cells.push_back(std::move(row));
    }
    return table;
}

QString classCellText(const ClassCell &cell)
{
    if (cell.attempts == 0)
        return {};
    if (cell.best < 0)
        return outcomeText(Outcome::Abandoned);
    return minutesAndSeconds(cell.best) + (cell.help != 0 ? QStringLiteral(" *") : QString());
}

} // namespace knight
