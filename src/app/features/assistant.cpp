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
    return form.isEnabled(Command::Show) && !form.timer().isActive() && form.history().size() < form.shape().count();
}

void Assistant::showMessage(const QString &text)
{
    standingShown_ = false;
    placeMessage(text);
    view_.announce(text);
    emit transientChanged();
}

void Assistant::placeMessage(const QString &text)
{
    const QRect box = view_.formLayout().place(controls::messageRect);
    message_->setText(text);
    message_->setFixedWidth(box.width());
    message_->setFixedHeight(message_->heightForWidth(box.width()));
    message_->move(box.topLeft());
    message_->show();
    message_->raise();
}

void Assistant::setStandingLine(const QString &line)
{
    const bool free = message_->isHidden() || standingShown_;
    standing_ = line;
    if (!free)
        return; // a message shows; the line comes back when it goes
    standingShown_ = !line.isEmpty();
    if (standingShown_)
        placeMessage(line);
    else
        message_->hide();
    emit transientChanged();
}

void Assistant::clearTransient()
{
    const bool shown = !message_->isHidden() || isSquare(hintSquare_);
    message_->hide();
    standingShown_ = !standing_.isEmpty();
    if (standingShown_)
        placeMessage(standing_);
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
    emit helped(ActionId::Hint);
    view_.setHintShown(hintSquare_, true);
    hintTimer_->start();
    view_.announce(tr("Подсказка: %1.").arg(chessName(hintSquare_)));
    emit transientChanged();
}

void Assistant::showVerdict()
{
    const SquareList walk = view_.form().walkSquares();
    if (walk.size() == std::size_t(view_.form().shape().count())) {
        reportWalkEnd(true);
        return;
    }
    if (!canPlay(view_.form()))
        return;
    emit helped(ActionId::Verdict);
    if (puzzle_.isOn()) {
        const Aim aimed = aim(walk);
        showMessage(aimed.tour.empty() ? aimed.why
                                       : tr("Да: от тази позиция конят още може да обходи всички полета, "
                                            "като стъпи на всяко дадено число с неговия ход."));
        return;
    }
    if (walk.empty()) {
        showMessage(verdictBeforeAMove());
        return;
    }
    const Judgement judged = judge(walk);
    namedSquares_ = judged.verdict.squares;
    showMessage(judged.text);
}

QString Assistant::verdictBeforeAMove()
{
    const BoardShape shape = view_.form().shape();
    int starts = 0;
    for (int n = 0; n < squareCount; ++n)
        starts += shape.contains(n) && solve({n}).answer == TourSolver::Answer::Yes;
    if (starts == shape.count())
        return closed_ ? tr("Да: от всяко поле на дъската може да започне затворена обиколка.")
                       : tr("Да: от всяко поле на дъската може да започне пълна обиколка.");
    if (starts == 0)
        return closed_ ? tr("Не: на тази дъска няма затворена обиколка.") : tr("Не: на тази дъска няма пълна обиколка.");
    return tr("Да, но не от всяко поле: пълна обиколка на тази дъска може да започне от %1 от %2 полета.")
        .arg(starts)
        .arg(shape.count());
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
    emit helped(ActionId::Complete);
    for (std::size_t i = view_.form().history().size(); i < aimed.tour.size(); ++i)
        view_.Label2_Click(aimed.tour[i]);
    // A puzzle and a task say their own ends.
    if (!puzzle->isOn() && !view_.action(ActionId::Tasks)->isChecked())
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
    const Judgement judged = judge(walk);
    if (judged.verdict.answer != TourSolver::Answer::Yes)
        return {{}, judged.text};
    return {judged.verdict.tour, {}};
}

// The verdict in the solver's numbering, which packs the board's squares.
TourSolver::Verdict Assistant::solve(const SquareList &walk)
{
    const BoardShape shape = view_.form().shape();
    if (solver_.files() != shape.files || solver_.ranks() != shape.ranks)
        solver_ = TourSolver(shape.files, shape.ranks);
    SquareList packed;
    for (const int n : walk)
        packed.push_back(shape.packed(n));
    return solver_.solve(packed, std::chrono::milliseconds(300), closed_ ? TourSolver::Goal::Closed : TourSolver::Goal::Open);
}

Assistant::Judgement Assistant::judge(const SquareList &walk)
{
    Judgement judged{solve(walk), {}};
    // Said in the solver's numbering, which names the board's squares.
    judged.text = verdictText(solver_, judged.verdict);
    const BoardShape shape = view_.form().shape();
    for (std::vector<int> *squares : {&judged.verdict.squares, &judged.verdict.tour}) {
        for (int &n : *squares)
            n = shape.unpacked(n);
    }
    return judged;
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
    if (moves == form.shape().count()) {
        // A task says its own end; asked, the assistant says what the walk is.
        if (!asked && view_.action(ActionId::Tasks)->isChecked())
            return;
        const bool closed = isKnightMove(form.history().last().toInt(), form.history().first().toInt());
        if (asked || endMessages_)
            showMessage((closed ? tr("Пълна обиколка: конят обходи всичките %1 полета и "
                                     "обиколката е затворена – от последното поле има ход "
                                     "до първото.")
                                : tr("Пълна обиколка: конят обходи всичките %1 полета. "
                                     "Обиколката е отворена – от последното поле няма ход "
                                     "до първото."))
                            .arg(moves)
                        + help);
        return;
    }
    if ((asked || endMessages_) && moves > 0 && !hasPossibleMove(form))
        showMessage(tr("Задънена улица: няма зелени полета. С „Ход назад“ можете да "
                       "върнете хода и да опитате друг.")
                    + help);
}

} // namespace knight
