// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/gallop_control.h"

#include "app/features/assistant.h"

#include "app/form/announcer.h"
#include "app/features/choice_menu.h"
#include "app/form/form_view.h"
#include "app/features/preferences.h"
#include "language/language.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace knight {

namespace {

const QString tempoKey = QStringLiteral("gallop/tempo");

QString tempoText(int milliseconds)
{
    return GallopControl::tr("%1 с").arg(languageLocale(languageInUse()).toString(milliseconds / 1000.0));
}

} // namespace

GallopControl::GallopControl(FormView &view, QWidget *window)
    : QObject(window)
    , view_(view)
    , window_(window)
{
}

void GallopControl::togglePause()
{
    view_.pauseGallop(!view_.form().gallopPaused());
    // The board alone does not show whether the gallop waits.
    const KnightForm &form = view_.form();
    view_.showMessage(form.gallopPaused()
                                          ? tr("Пауза на ход %1 от %2: F8 продължава, F9 и Shift+F9 местят с по един ход.")
                                                .arg(std::max(form.gallopStep(), 1))
                                                .arg(form.shape().count())
                                          : tr("Галопът продължава."));
}

void GallopControl::stepForward()
{
    view_.stepGallop(true);
}

void GallopControl::stepBack()
{
    view_.stepGallop(false);
}

void GallopControl::nextTempo()
{
    const auto at = std::find(tempos.begin(), tempos.end(), tempo_);
    setTempo(at == tempos.end() || at + 1 == tempos.end() ? tempos.front() : *(at + 1));
    // Nothing else on the screen shows the pace.
    view_.showMessage(tr("Темпо на галопа: %1 на ход.").arg(tempoText(tempo_)));
}

void GallopControl::setTempo(int milliseconds)
{
    if (std::find(tempos.begin(), tempos.end(), milliseconds) == tempos.end())
        return;
    tempo_ = milliseconds;
    view_.setGallopInterval(milliseconds);
    view_.preferences().setValue(tempoKey, milliseconds);
    if (tempoMenu_)
        tempoMenu_->check(milliseconds);
    emit tempoChanged();
}

QMenu *GallopControl::tempoMenu()
{
    if (tempoMenu_)
        return tempoMenu_;
    tempoMenu_ = new ChoiceMenu(window_);
    for (const int milliseconds : tempos)
        tempoMenu_->addChoice(tempoText(milliseconds), milliseconds, [this, milliseconds] { setTempo(milliseconds); });
    tempoMenu_->check(tempo_);
    return tempoMenu_;
}

void GallopControl::retranslate()
{
    if (tempoMenu_)
        tempoMenu_->rename([](const QVariant &milliseconds) { return tempoText(milliseconds.toInt()); });
}

void GallopControl::followForm()
{
    QAction *pause = view_.action(ActionId::PauseGallop);
    if (pause && pause->isChecked() != view_.form().gallopPaused())
        pause->setChecked(view_.form().gallopPaused());
}

void GallopControl::announceStep()
{
    const KnightForm &form = view_.form();
    if (!form.gallopOn()) {
        view_.announce(tr("Галопът свърши."));
        return;
    }
    const int step = std::max(form.gallopStep(), 1);
    for (int n = 0; n < squareCount; ++n) {
        if (form.board().square(n).caption.toInt() == step) {
            view_.announce(tr("Галоп: ход %1, %2.").arg(step).arg(chessName(n)));
            return;
        }
    }
}

void GallopControl::restorePreferences()
{
    setTempo(view_.preferences().value(tempoKey, designedTempo).toInt());
}

} // namespace knight
