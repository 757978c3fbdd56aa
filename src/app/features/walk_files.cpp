// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/walk_files.h"

#include "app/features/file_dialog.h"
#include "app/form/form_view.h"
#include "files/file_io.h"
#include "files/file_names.h"
#include "notation/walk_notation.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace knight {

namespace {

// The file's name as the system spells it: a name that is not UTF-8 comes percent-encoded
// byte for byte, which QUrl::toLocalFile would turn into replacement characters.
QString localFileName(const QUrl &url)
{
    return decodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace

QString WalkFiles::walkFilter()
{
    return tr("Разходки (*.txt);;Всички файлове (*)");
}

WalkFiles::WalkFiles(FormView &view, QWidget *window)
    : QObject(window)
    , view_(view)
    , window_(window)
{
}

bool WalkFiles::openBytes(QByteArrayView bytes, const QString &source)
{
    const WalkReading reading = readWalk(bytes);
    if (!reading.ok()) {
        view_.showProblem(tr("%1 не е разходка: %2.").arg(source, reading.error->message()));
        return false;
    }
    // A walk on another board brings its board.
    view_.setBoardShape(reading.shape);
    view_.replaceWalk(reading.squares);
    return true;
}

bool WalkFiles::openFile(const QString &path)
{
    const QString shown = shownText(QFileInfo(path).fileName());
    // One byte past the limit is enough to know that it is too large.
    const FileReading file = readFile(path, walkFileLimit + 1, ReadableFiles::Regular);
    if (!file.ok()) {
        view_.showProblem(tr("Файлът „%1“ не може да се отвори: %2.").arg(shown, file.problem));
        return false;
    }
    return openBytes(file.bytes, tr("Файлът „%1“").arg(shown));
}

bool WalkFiles::saveTo(const QString &path)
{
    const QByteArray text = writeWalk(view_.form().squaresOnBoard(), view_.form().shape());
    if (const QString problem = writeFileAtomically(path, text); !problem.isNull()) {
        view_.showProblem(tr("Разходката не е запазена във файла „%1“: %2.")
                                 .arg(shownText(QDir::toNativeSeparators(path)), problem));
        return false;
    }
    return true;
}

void WalkFiles::openDialog()
{
    QFileDialog dialog(window_, tr("Отвори разходка"), {}, walkFilter());
    dialog.setFileMode(QFileDialog::ExistingFile);
    speakProgramLanguage(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        openFile(dialog.selectedFiles().first());
}

void WalkFiles::saveDialog()
{
    if (const QString path = askSaveName(window_, tr("Запази разходката"), walkFilter(), tr("разходка.txt")); !path.isNull())
        saveTo(path);
}

void WalkFiles::copy()
{
    const SquareList squares = view_.form().squaresOnBoard();
    if (!squares.empty())
        QGuiApplication::clipboard()->setText(walkText(squares));
}

void WalkFiles::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        openBytes(text.toUtf8(), tr("Текстът от буфера"));
}

bool WalkFiles::clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

bool WalkFiles::acceptsDrop(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.first().isLocalFile();
}

void WalkFiles::drop(const QMimeData *data)
{
    if (acceptsDrop(data))
        openFile(localFileName(data->urls().first()));
}

} // namespace knight
