// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QObject>
#include <QString>

class QMimeData;

namespace knight {

class FormView;

// Walks kept in files and on the clipboard. A walk that is read is played square by square as
// clicks are, on a cleared board; one that cannot be read changes nothing and is refused with
// a message naming the line, the column and the token.
class WalkFiles : public QObject
{
    Q_OBJECT

public:
    WalkFiles(FormView &view, QWidget *window);

    bool openBytes(QByteArrayView bytes, const QString &source);
    bool openFile(const QString &path);
    bool saveTo(const QString &path);
    void openDialog();
    void saveDialog();
    void copy();
    void paste();
    static bool clipboardHasText();

    // One local file dropped on the window is opened as a walk; several are not taken.
    static bool acceptsDrop(const QMimeData *data);
    void drop(const QMimeData *data);

private:
    static QString walkFilter();
    FormView &view_;
    QWidget *window_;
};

} // namespace knight
