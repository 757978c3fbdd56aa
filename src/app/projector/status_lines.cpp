// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/projector/status_lines.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace knight {

StatusLines::StatusLines(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StatusLines::setColors(const QColor &text, const QColor &background)
{
    text_ = text;
    background_ = background;
    update();
}

int StatusLines::heightFor(qsizetype lines) const
{
    return int(lines) * fontMetrics().lineSpacing();
}

int StatusLines::inkPad() const
{
    return std::max(2, fontMetrics().lineSpacing() / 12);
}

QRect StatusLines::lineRect(int i) const
{
    const int spacing = fontMetrics().lineSpacing();
    return QRect(0, i * spacing, width(), spacing);
}

const StatusLines::LaidOut &StatusLines::laidOut(const QString &run)
{
    auto found = texts_.find(run);
    if (found == texts_.end()) {
        QStaticText text(run);
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font());
        found = texts_.insert(run, {text, QFontMetricsF(font()).horizontalAdvance(run)});
    }
    return *found;
}

// A line cut where digits meet other letters, each run placed after the one before.
std::vector<StatusLines::Run> StatusLines::runsOf(const QString &line)
{
    std::vector<Run> runs;
    double left = 0;
    for (qsizetype start = 0; start < line.size();) {
        const bool digits = line[start].isDigit();
        qsizetype end = start + 1;
        while (end < line.size() && line[end].isDigit() == digits)
            ++end;
        Run run{line.mid(start, end - start), left, 0};
        run.width = laidOut(run.text).width;
        left += run.width;
        runs.push_back(std::move(run));
        start = end;
    }
    return runs;
}

bool StatusLines::setLines(const QStringList &lines)
{
    if (lines == lines_)
        return false;
    const bool counted = lines.size() != lines_.size();
    lines_ = lines;
    std::vector<std::vector<Run>> before = std::exchange(runs_, {});
    for (const QString &line : lines)
        runs_.push_back(runsOf(line));
    if (counted) {
        update();
        return true;
    }
    for (int i = 0; i < int(runs_.size()); ++i)
        update(changedPart(i, before[std::size_t(i)]));
    return false;
}

// The part of line i that differs from what it was: from the first run that changed to the
// last, or to the line's end where the runs after it moved. Widened a little for ink that
// reaches past a letter's advance.
QRect StatusLines::changedPart(int i, const std::vector<Run> &before) const
{
    const std::vector<Run> &after = runs_[std::size_t(i)];
    const auto same = [](const Run &a, const Run &b) { return a.text == b.text && a.left == b.left; };
    std::size_t first = 0;
    while (first < before.size() && first < after.size() && same(before[first], after[first]))
        ++first;
    if (first == before.size() && first == after.size())
        return {};
    const auto end = [](const std::vector<Run> &runs) { return runs.empty() ? 0.0 : runs.back().left + runs.back().width; };
    std::size_t kept = 0; // runs alike and in the same place at the end of both
    while (kept < before.size() - first && kept < after.size() - first
           && same(before[before.size() - 1 - kept], after[after.size() - 1 - kept]))
        ++kept;
    const double left = first < after.size() ? after[first].left : end(after);
    const double right = kept > 0 ? after[after.size() - kept].left : std::max(end(before), end(after));
    const QRect line = lineRect(i);
    const int pad = inkPad();
    return QRect(int(left) - pad, line.top(), int(std::ceil(right - left)) + 2 * pad, line.height()) & line;
}

void StatusLines::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setPen(text_);
    painter.setFont(font());
    const int pad = inkPad();
    // A rectangle at a time: the raster engine's fast path, where a region of several goes
    // span by span.
    for (const QRect &part : event->region()) {
        painter.setClipRect(part);
        painter.fillRect(part, background_);
        for (int i = 0; i < int(runs_.size()); ++i) {
            const QRect line = lineRect(i);
            if (!part.intersects(line))
                continue;
            for (const Run &run : runs_[std::size_t(i)]) {
                const QRect ink(int(run.left) - pad, line.top(), int(std::ceil(run.width)) + 2 * pad, line.height());
                if (part.intersects(ink))
                    painter.drawStaticText(QPointF(run.left, line.top()), texts_[run.text].text);
            }
        }
    }
}

// Every run laid out again in the new type (QWidget's own handler repaints the widget).
void StatusLines::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        texts_.clear();
        runs_.clear();
        for (const QString &line : std::as_const(lines_))
            runs_.push_back(runsOf(line));
    }
}

} // namespace knight
