// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace knight {

// What a screen reader should say after an event, without anything on the screen: a status
// element of one transparent pixel whose name is the latest announcement.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    void announce(const QString &text);
    QString lastAnnouncement() const { return text_; }

private:
    QString text_;
};

} // namespace knight
