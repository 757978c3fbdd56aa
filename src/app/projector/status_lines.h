// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QHash>
#include <QStaticText>
#include <QStringList>
#include <QWidget>

#include <vector>

namespace knight {

// The projector view's status in large type, a line each; the view picks a type size at which
// its widest lines fit. It paints its own background, and after a change only where a line
// changed: a gallop's tick changes a number or two. Each line is drawn as runs of digits and of
// other letters, each laid out once, so a tick lays out nothing new but a number not seen yet.
class StatusLines : public QWidget
{
    Q_OBJECT

public:
    explicit StatusLines(QWidget *parent);

    // Shows lines; true when there are more or fewer of them than before.
    bool setLines(const QStringList &lines);
    QString text() const { return lines_.join(u'\n'); }
    qsizetype lineCount() const { return lines_.size(); }
    void setColors(const QColor &text, const QColor &background);
    // The height of n lines in the widget's type; where line i is.
    int heightFor(qsizetype lines) const;
    QRect lineRect(int i) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Run {
        QString text;
        double left = 0;
        double width = 0;
    };
    struct LaidOut {
        QStaticText text;
        double width = 0;
    };
    std::vector<Run> runsOf(const QString &line);
    const LaidOut &laidOut(const QString &run);
    QRect changedPart(int i, const std::vector<Run> &before) const;
    int inkPad() const;

    QStringList lines_;
    std::vector<std::vector<Run>> runs_;
    QHash<QString, LaidOut> texts_; // every run shown in the current type
    QColor text_ = Qt::black;
    QColor background_ = Qt::white;
};

} // namespace knight
