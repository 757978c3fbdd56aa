// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/projector/projector.h"

#include "app/features/assistant.h"
#include "app/features/gallop_control.h"
#include "app/form/form_view.h"
#include "app/features/pictures.h"
#include "app/features/practice_aids.h"
#include "app/features/task_play.h"
#include "app/projector/projector_window.h"

#include <QAction>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace knight {

namespace {

const QString projectorKey = QStringLiteral("view/projector");

} // namespace

Projector::Projector(FormView &view, const Sources &sources, QWidget *window)
    : QObject(window)
    , formView_(view)
    , sources_(sources)
    , window_(window)
{
    connect(&sources.assistant, &Assistant::transientChanged, this, &Projector::noteTransient);
    connect(&sources.gallop, &GallopControl::tempoChanged, this, &Projector::followForm);
}

void Projector::setOn(bool on)
{
    formView_.action(ActionId::Projector)->setChecked(on);
    if (on == on_)
        return;
    on_ = on;
    if (on) {
        if (!view_) {
            QList<QAction *> shown;
            for (const ActionId id : buttons)
                shown.append(formView_.action(id));
            view_ = new ProjectorWindow(window_, shown, GallopControl::tempos);
            view_->setWindowTitle(window_->windowTitle());
            view_->setAccessibleName(formView_.action(ActionId::Projector)->text());
            // Every key of the window works in the view too.
            view_->addActions(window_->actions());
            connect(view_, &ProjectorWindow::squareChosen, this, [this](int n) { formView_.Label2_Click(n); });
            connect(view_, &ProjectorWindow::leave, this, [this] { setOn(false); });
        }
        followForm();
        // The window's screen (the projector's, when the window was moved there), placed on it:
        // full screen fills the screen a window stands on.
        if (QScreen *screen = window_->screen()) {
            view_->setScreen(screen);
            view_->setGeometry(screen->geometry());
        }
        view_->showFullScreen();
        view_->raise();
        view_->activateWindow();
        view_->setFocus();
    } else {
        view_->hide();
        window_->activateWindow();
    }
    if (!quitting_)
        formView_.preferences().setValue(projectorKey, on);
}

void Projector::noteTransient()
{
    if (const int hint = sources_.assistant.hintSquare(); isSquare(hint)) {
        marks_.hint = hint;
        hintMoves_ = formView_.form().history().size();
    }
    followForm();
}

void Projector::followForm()
{
    const KnightForm &form = formView_.form();
    // The hint stays marked until the next move.
    if (form.history().size() != hintMoves_ || !form.walking())
        marks_.hint = -1;
    if (!on_)
        return;
    marks_.named = sources_.assistant.namedSquares();
    marks_.start = sources_.tasks.startSquare();
    const PracticeAids &aids = sources_.aids;
    Diagram diagram = diagramOf(form, sources_.pictures.pathShown());
    for (int n = 0; n < squareCount; ++n) {
        const Square shown = aids.shown(n, form.board().square(n));
        Diagram::Cell &cell = diagram.squares[std::size_t(n)];
        cell.caption = shown.caption;
        cell.color = shown.backColor;
        if (const int count = aids.countFor(n); count >= 0 && cell.caption.isEmpty())
            cell.caption = QString::number(count);
    }
    const QLabel *message = sources_.assistant.message();
    view_->setContent(projectorDiagram(diagram, form, marks_), projectorStatus(form, sources_.gallop.tempo(), sources_.tasks.index() + 1),
                      message->isHidden() ? QString() : message->text());
}

void Projector::restorePreferences()
{
    setOn(formView_.preferences().flag(projectorKey));
}

} // namespace knight
