// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/task_list.h"

#include "notation/walk_notation.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>

#include <algorithm>

namespace knight {

namespace {

struct TaskText {
    Q_DECLARE_TR_FUNCTIONS(TaskText)
};

std::optional<BoardShape> boardOf(QByteArrayView field)
{
    const QList<QByteArray> sides = field.toByteArray().split('x');
    bool numbers[2] = {false, false};
    if (sides.size() != 2)
        return std::nullopt;
    const BoardShape shape{sides[0].toInt(&numbers[0]), sides[1].toInt(&numbers[1])};
    if (!numbers[0] || !numbers[1] || !isOffered(shape))
        return std::nullopt;
    return shape;
}

std::optional<unsigned> aidsOf(QByteArrayView field)
{
    if (field == "none")
        return 0u;
    constexpr std::pair<const char *, Aid> names[] = {
        {"greens", Aid::Greens}, {"hints", Aid::Hints},         {"verdict", Aid::Verdict},
        {"completion", Aid::Completion}, {"counts", Aid::Counts}};
    unsigned aids = 0;
    for (const QByteArray &name : field.toByteArray().split(',')) {
        const auto *found = std::ranges::find_if(names, [&name](const auto &entry) { return name == entry.first; });
        if (found == std::end(names))
            return std::nullopt;
        aids |= unsigned(found->second);
    }
    return aids;
}

std::optional<std::chrono::seconds> timeOf(QByteArrayView field)
{
    const QList<QByteArray> parts = field.toByteArray().split(':');
    bool numbers[2] = {false, false};
    if (parts.size() != 2 || parts[1].size() != 2)
        return std::nullopt;
    const int minutes = parts[0].toInt(&numbers[0]);
    const int seconds = parts[1].toInt(&numbers[1]);
    if (!numbers[0] || !numbers[1] || minutes < 0 || seconds < 0 || seconds > 59 || minutes * 60 + seconds == 0)
        return std::nullopt;
    return std::chrono::seconds(minutes * 60 + seconds);
}

// The square a field names on the board, or -1.
int squareOn(BoardShape shape, QByteArrayView field)
{
    const int n = squareNamed(QString::fromLatin1(field));
    return shape.contains(n) ? n : -1;
}

std::optional<Task> taskOf(const QList<QByteArray> &fields)
{
    if (fields.size() < 5)
        return std::nullopt;
    Task task;
    const auto shape = boardOf(fields[0]);
    const auto aids = aidsOf(fields[3]);
    const auto target = timeOf(fields[4]);
    if (!shape || !aids || !target || (fields[2] != "open" && fields[2] != "closed"))
        return std::nullopt;
    task.shape = *shape;
    task.aids = *aids;
    task.target = *target;
    task.closed = fields[2] == "closed";
    if (fields[1] != "any" && (task.start = squareOn(task.shape, fields[1])) < 0)
        return std::nullopt;
    for (qsizetype i = 5; i < fields.size(); ++i) {
        const int n = squareOn(task.shape, fields[i]);
        if (n < 0 || std::ranges::find(task.beginning, n) != task.beginning.end()
            || (!task.beginning.empty() && !isKnightMove(task.beginning.back(), n)))
            return std::nullopt;
        task.beginning.push_back(n);
    }
    if (task.start >= 0 && !task.beginning.empty() && task.beginning.front() != task.start)
        return std::nullopt;
    return task;
}

} // namespace

TaskListReading readTaskList(QByteArrayView text)
{
    TaskListReading reading;
    const QList<QByteArray> lines = text.toByteArray().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].left(lines[i].indexOf('#') < 0 ? lines[i].size() : lines[i].indexOf('#'));
        if (line.trimmed().isEmpty())
            continue;
        const auto task = taskOf(line.simplified().split(' '));
        if (!task)
            return {{}, int(i) + 1};
        reading.tasks.push_back(*task);
    }
    return reading;
}

const std::vector<Task> &lessonTasks()
{
    static const std::vector<Task> tasks = [] {
        QFile file(QStringLiteral(":/data/tasks.txt"));
        return file.open(QIODevice::ReadOnly) ? readTaskList(file.readAll()).tasks : std::vector<Task>{};
    }();
    return tasks;
}

QString targetText(std::chrono::seconds target)
{
    const auto minutes = int(target.count() / 60);
    const auto seconds = int(target.count() % 60);
    return seconds == 0 ? TaskText::tr("%1 мин").arg(minutes) : TaskText::tr("%1 мин %2 с").arg(minutes).arg(seconds);
}

QString taskTitle(const Task &task)
{
    QStringList parts{TaskText::tr("Дъска %1 × %2").arg(task.shape.files).arg(task.shape.ranks)};
    if (!task.beginning.empty()) {
        QStringList names;
        for (const int n : task.beginning)
            names << chessName(n);
        parts << TaskText::tr("с дадено начало %1").arg(names.join(QLatin1Char(' ')));
    } else if (task.start >= 0) {
        parts << TaskText::tr("от %1").arg(chessName(task.start));
    }
    parts << (task.closed ? TaskText::tr("затворена обиколка") : TaskText::tr("пълна обиколка"));
    // The aids the task takes away, by the names of the controls a pupil would reach for; all
    // taken away is no help at all.
    const auto control = [](const char *name) {
        return TaskText::tr("„%1“").arg(QCoreApplication::translate("Actions", name));
    };
    const std::pair<Aid, QString> aids[] = {{Aid::Greens, TaskText::tr("зелени полета")},
                                            {Aid::Hints, control("Подскажи ход")},
                                            {Aid::Verdict, control("Може ли още?")},
                                            {Aid::Completion, control("Довърши обиколката")}};
    QStringList missing;
    for (const auto &[aid, name] : aids) {
        if (!task.allows(aid))
            missing << name;
    }
    // The counts are a kind of hint: named only where hints are allowed and they are not.
    if (task.allows(Aid::Hints) && !task.allows(Aid::Counts))
        missing.insert(1, control("Брой продължения"));
    if ((task.aids & ~unsigned(Aid::Counts)) == 0)
        parts << TaskText::tr("без помощ");
    else if (!missing.isEmpty()) {
        const QString last = missing.takeLast();
        parts << TaskText::tr("без %1").arg(missing.isEmpty() ? last : missing.join(QStringLiteral(", ")) + TaskText::tr(" и ") + last);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace knight
