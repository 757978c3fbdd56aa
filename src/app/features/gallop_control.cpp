// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/gallop_control.h"

#include "app/features/assistant.h"

#include "app/form/announcer.h"
#include "app/features/choice_menu.h"
#include "app/form/mainwindow.h"
#include "app/features/preferences.h"
#include "language/language.h"

#include <QAction>
#include <QLocale>
#include <QMenu>

#include <algorithm>

namespace knight {

namespace {

const QString tempoKey = QStringLiteral("gallop/tempo");

QString tempoText(int milliseconds)
{
    return GallopControl::tr("%1 с").arg(languageLocale(languageInUse()).toString(milliseconds / 1000.0));
}

} // namespace

GallopControl::GallopControl(MainWindow *window)
    : QObject(window)
    , window_(window)
{
}

void GallopControl::togglePause()
{
    window_->pauseGallop(!window_->form().gallopPaused());
    // The board alone does not show whether the gallop waits.
    const KnightForm &form = window_->form();
    window_->assistant()->showMessage(form.gallopPaused()
                                          ? tr("Пауза на ход %1 от %2: F8 продължава, F9 и Shift+F9 местят с по един ход.")
                                                .arg(std::max(form.gallopStep(), 1))
                                                .arg(squareCount)
                                          : tr("Галопът продължава."));
}

void GallopControl::stepForward()
{
    window_->stepGallop(true);
}

void GallopControl::stepBack()
{
    window_->stepGallop(false);
}

void GallopControl::nextTempo()
{
    const auto at = std::find(tempos.begin(), tempos.end(), tempo_);
    setTempo(at == tempos.end() || at + 1 == tempos.end() ? tempos.front() : *(at + 1));
    // Nothing else on the screen shows the pace.
    window_->assistant()->showMessage(tr("Темпо на галопа: %1 на ход.").arg(tempoText(tempo_)));
}

void GallopControl::setTempo(int milliseconds)
{
    if (std::find(tempos.begin(), tempos.end(), milliseconds) == tempos.end())
        return;
    tempo_ = milliseconds;
    window_->setGallopInterval(milliseconds);
    window_->preferences().setValue(tempoKey, milliseconds);
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
    QAction *pause = window_->action(ActionId::PauseGallop);
    if (pause && pause->isChecked() != window_->form().gallopPaused())
        pause->setChecked(window_->form().gallopPaused());
}

void GallopControl::announceStep()
{
    const KnightForm &form = window_->form();
    if (!form.gallopOn()) {
        window_->announcer()->announce(tr("Галопът свърши."));
        return;
    }
    const int step = std::max(form.gallopStep(), 1);
    for (int n = 0; n < squareCount; ++n) {
        if (form.board().square(n).caption.toInt() == step) {
            window_->announcer()->announce(tr("Галоп: ход %1, %2.").arg(step).arg(chessName(n)));
            return;
        }
    }
}

void GallopControl::restorePreferences()
{
    setTempo(window_->preferences().value(tempoKey, designedTempo).toInt());
}

} // namespace knight
