// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notation/walk_notation.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace knight {

class BackgroundWriter;
class FormView;

// The walk on the board kept in the user's data folder after every change, written off the
// window's thread, so that a crash, a kill or a power cut loses nothing: the next start
// offers it back in the menu (the window itself starts as designed). Nothing is kept until a
// folder is given: the program gives the user's, tests their own.
class WalkAutosave : public QObject
{
    Q_OBJECT

public:
    WalkAutosave(FormView &view, QObject *parent);
    ~WalkAutosave() override;

    // Where the program keeps it.
    static QString userFolder();
    // Reads what an earlier start kept there, and keeps the walk there from now on.
    void useFolder(const QString &folder);
    QString file() const { return file_; }
    // After each change of the form; a write that failed is told once.
    void followForm();
    // The walk an earlier start left, played on the board; once.
    bool canResume() const { return !left_.empty(); }
    void resume();
    // Every change written; for tests and the end.
    QString waitUntilWritten();

private:
    FormView &view_;
    QString file_;
    std::unique_ptr<BackgroundWriter> writer_;
    QStringList written_; // the walk as last handed to the writer
    SquareList left_;
    BoardShape leftShape_;
    bool problemTold_ = false;
};

} // namespace knight
