// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/walk_autosave.h"

#include "app/features/assistant.h"
#include "app/form/form_view.h"
#include "files/background_writer.h"
#include "files/file_io.h"
#include "files/file_names.h"

#include <QAction>
#include <QDir>
#include <QStandardPaths>

namespace knight {

WalkAutosave::WalkAutosave(FormView &view, QObject *parent)
    : QObject(parent)
    , view_(view)
{
}

WalkAutosave::~WalkAutosave() = default;

QString WalkAutosave::userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/kon-obikolka/knight-tour");
}

void WalkAutosave::useFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return;
    file_ = folder + QStringLiteral("/last-walk.txt");
    const FileReading reading = readFile(file_, walkFileLimit + 1, ReadableFiles::Regular);
    if (reading.ok()) {
        if (const WalkReading walk = readWalk(reading.bytes); walk.ok())
            left_ = walk.squares, leftShape_ = walk.shape;
    }
    written_ = view_.form().history();
    writer_ = std::make_unique<BackgroundWriter>(file_);
    if (QAction *offer = view_.action(ActionId::ResumeWalk))
        offer->setEnabled(canResume());
}

void WalkAutosave::followForm()
{
    if (!writer_ || view_.form().history() == written_)
        return;
    written_ = view_.form().history();
    if (written_.isEmpty())
        writer_->write(std::nullopt);
    else
        writer_->write(writeWalk(view_.form().walkSquares(), view_.form().shape()));
    // Known by the next change: the write runs on, and the click does not wait for it.
    if (const QString problem = writer_->problem(); !problem.isNull() && !problemTold_) {
        problemTold_ = true;
        view_.showMessage(tr("Разходката не може да се запази в „%1“ за следващото пускане: %2.")
                                              .arg(shownText(QDir::toNativeSeparators(file_)), problem));
    }
}

void WalkAutosave::resume()
{
    if (left_.empty())
        return;
    const SquareList walk = std::move(left_);
    left_.clear();
    view_.setBoardShape(leftShape_);
    view_.replaceWalk(walk);
}

QString WalkAutosave::waitUntilWritten()
{
    return writer_ ? writer_->waitUntilWritten() : QString();
}

} // namespace knight
