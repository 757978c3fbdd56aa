// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/assistant.h"

#include "app/form/announcer.h"
#include "app/form/controls.h"
#include "app/form/form_view.h"
#include "app/features/puzzle_play.h"
#include "app/form/square_label.h"
#include "notation/walk_notation.h"
#include "picture/qt_color.h"
#include "solver/verdict_text.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace knight {

Assistant::Assistant(FormView &view, PuzzlePlay &puzzle, QWidget *window)
    : QObject(window)
    , view_(view)
    , puzzle_(puzzle)
    , window_(window)
    , message_(new QLabel(window))
    , hintTimer_(new QTimer(this))
{
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    message_->setFrameShape(QFrame::Box);
    message_->setMargin(3);
    message_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette palette = message_->palette();
    palette.setColor(message_->backgroundRole(), toQColor(controls::messageBackColor));
    message_->setPalette(palette);
    message_->setAutoFillBackground(true);
    message_->hide();

    hintTimer_->setSingleShot(true);
    hintTimer_->setInterval(controls::hintMilliseconds);
    connect(hintTimer_, &QTimer::timeout, this, &Assistant::hideHint);
}

bool Assistant::canPlay(const KnightForm &form)
{
    return form.isEnabled(Command::Show) && !form.timer().isActive() && form.history().size() < squareCount;
}

void Assistant::showMessage(const QString &text)
{
    const QRect box = view_.formLayout().place(controls::messageRect);
    message_->setText(text);
    message_->setFixedWidth(box.width());
    message_->setFixedHeight(message_->heightForWidth(box.width()));
    message_->move(box.topLeft());
    message_->show();
    message_->raise();
    view_.announce(text);
    emit transientChanged();
}

void Assistant::clearTransient()
{
    const bool shown = !message_->isHidden() || isSquare(hintSquare_);
    message_->hide();
    namedSquares_.clear();
    hintTimer_->stop();
    hideHint();
    if (shown)
        emit transientChanged();
}

void Assistant::hideHint()
{
    if (isSquare(hintSquare_))
        view_.setHintShown(hintSquare_, false);
    hintSquare_ = -1;
}

void Assistant::showHint()
{
    if (!canPlay(view_.form()))
        return;
    const SquareList walk = view_.form().walkSquares();
    const Aim aimed = aim(walk);
    if (aimed.tour.empty()) {
        showMessage(aimed.why);
        return;
    }
    hintSquare_ = aimed.tour.at(walk.size());
    ++hintsUsed_;
    view_.setHintShown(hintSquare_, true);
    hintTimer_->start();
    view_.announce(tr("Подсказка: %1.").arg(chessName(hintSquare_)));
    emit transientChanged();
}

void Assistant::showVerdict()
{
    const SquareList walk = view_.form().walkSquares();
    if (walk.size() == std::size_t(squareCount)) {
        reportWalkEnd(true);
        return;
    }
    if (!canPlay(view_.form()))
        return;
    if (puzzle_.isOn()) {
        const Aim aimed = aim(walk);
        showMessage(aimed.tour.empty() ? aimed.why
                                       : tr("Да: от тази позиция конят още може да обходи всички полета, "
                                            "като стъпи на всяко дадено число с неговия ход."));
        return;
    }
    if (walk.empty()) {
        showMessage(closed_ ? tr("Да: от всяко поле на дъската може да започне затворена обиколка.")
                            : tr("Да: от всяко поле на дъската може да започне пълна обиколка."));
        return;
    }
    const TourSolver::Verdict verdict = solve(walk);
    namedSquares_ = verdict.squares;
    showMessage(verdictText(solver_, verdict));
}

void Assistant::completeTour()
{
    if (!canPlay(view_.form()))
        return;
    const Aim aimed = aim(view_.form().walkSquares());
    if (aimed.tour.empty()) {
        showMessage(aimed.why);
        return;
    }
    PuzzlePlay *puzzle = &puzzle_;
    if (puzzle->isOn())
        puzzle->noteCompletion();
    for (std::size_t i = view_.form().history().size(); i < aimed.tour.size(); ++i)
        view_.Label2_Click(aimed.tour[i]);
    // A puzzle says its own end.
    if (!puzzle->isOn())
        reportWalkEnd(true);
}

Assistant::Aim Assistant::aim(SquareList walk)
{
    if (const PuzzlePlay *puzzle = &puzzle_; puzzle->isOn()) {
        return puzzle->aim(walk);
    }
    // Before the first move the tour starts where the cursor is (a1 at first; on 8 x 8 one
    // starts on every square).
    if (walk.empty())
        walk.push_back(view_.cursorSquare());
    const TourSolver::Verdict verdict = solve(walk);
    if (verdict.answer != TourSolver::Answer::Yes)
        return {{}, verdictText(solver_, verdict)};
    return {verdict.tour, {}};
}

TourSolver::Verdict Assistant::solve(const SquareList &walk)
{
    return solver_.solve(walk, std::chrono::milliseconds(300), closed_ ? TourSolver::Goal::Closed : TourSolver::Goal::Open);
}

void Assistant::setClosedGoal(bool on)
{
    closed_ = on;
    view_.action(ActionId::ClosedTour)->setChecked(on);
}

void Assistant::setEndMessages(bool on)
{
    endMessages_ = on;
    view_.action(ActionId::EndMessages)->setChecked(on);
}

void Assistant::followForm()
{
    if (view_.form().history().isEmpty())
        hintsUsed_ = takeBacksUsed_ = 0;
}

// A full tour (closed or not) or a dead end; with the end messages on, the help it used too.
void Assistant::reportWalkEnd(bool asked)
{
    const KnightForm &form = view_.form();
    const qsizetype moves = form.history().size();
    const QString help = endMessages_ ? tr(" Използвани подсказки: %1, върнати ходове: %2.")
                                            .arg(hintsUsed_)
                                            .arg(takeBacksUsed_)
                                      : QString();
    if (moves == squareCount) {
        const bool closed = isKnightMove(form.history().last().toInt(), form.history().first().toInt());
        if (asked || endMessages_)
            showMessage((closed ? tr("Пълна обиколка: конят обходи всичките 64 полета и "
                                     "обиколката е затворена – от последното поле има ход "
                                     "до първото.")
                                : tr("Пълна обиколка: конят обходи всичките 64 полета. "
                                     "Обиколката е отворена – от последното поле няма ход "
                                     "до първото."))
                        + help);
        return;
    }
    if ((asked || endMessages_) && moves > 0 && !hasPossibleMove(form))
        showMessage(tr("Задънена улица: няма зелени полета. С „Ход назад“ можете да "
                       "върнете хода и да опитате друг.")
                    + help);
}

} // namespace knight
