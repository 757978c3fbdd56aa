// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/mainwindow.h"

#include "access/spoken.h"
#include "app/form/announcer.h"
#include "app/features/assistant.h"
#include "app/features/board_choice.h"
#include "app/form/command_button.h"
#include "app/form/description_box.h"
#include "app/features/form_zoom.h"
#include "app/features/gallop_control.h"
#include "app/features/gallop_sound.h"
#include "app/features/guide_window.h"
#include "app/features/pictures.h"
#include "app/features/practice_aids.h"
#include "app/projector/projector.h"
#include "app/features/puzzle_play.h"
#include "app/features/task_play.h"
#include "app/form/square_label.h"
#include "app/features/walk_autosave.h"
#include "app/features/walk_files.h"
#include "app/form/window_accessible.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

namespace knight {

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    installWindowAccessible();
    createControls();
    writeTexts();
    moveToScreenCentre();
    form_.Form_Load();
    actions_ = std::make_unique<WindowActions>(*this, [this] { assistant_->clearTransient(); });
    mirrorForm();
    setTabOrder();
    text_->setFocus();

    connect(&form_.timer(), &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { actions_->update(form_); });
    setAcceptDrops(true);
    preferences_.onWriteFailure([this](const QString &problem) { showProblem(problem); });
}

MainWindow::~MainWindow()
{
    tasks_->windowClosing();
}

void MainWindow::retranslate()
{
    writeTexts();
    actions_->retranslate();
    gallop_->retranslate();
    if (guide_)
        guide_->retranslate();
    // A message in the old language goes; the text box is written again.
    assistant_->clearTransient();
    form_.retranslateText();
    mirrorForm();
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && actions_)
        retranslate();
}

// However the program quits (Ctrl+Q, the window's close button, the session ending), what is
// on is remembered as it is.
void MainWindow::closeEvent(QCloseEvent *event)
{
    projector_->keepForNextStart();
    QWidget::closeEvent(event);
}

void MainWindow::Label2_Click(int n)
{
    assistant_->clearTransient();
    if (refusesClick(n))
        return;
    const qsizetype before = form_.history().size();
    form_.Label2_Click(n);
    mirrorForm();
    announcer_->announce(walkAnnouncement(form_, before));
    if (form_.history().size() > before)
        assistant_->reportWalkEnd(false);
    else
        aids_->explainIgnoredClick(n);
}

// The activity on may refuse a move, and says why: a task's start square, a puzzle's numbers.
bool MainWindow::refusesClick(int n)
{
    switch (lesson_.activity()) {
    case Activity::Task:
        return tasks_->refuses(n);
    case Activity::Puzzle:
        return puzzle_->refuses(n);
    case Activity::FreePlay:
        break;
    }
    return false;
}

void MainWindow::Command1_Click(int index)
{
    // A task that does not show its answer keeps "Покажи" and "Галоп" closed, whatever asks.
    if (!commandRefusal(index).isNull())
        return;
    assistant_->clearTransient();
    const qsizetype before = form_.history().size();
    form_.Command1_Click(index);
    mirrorForm();
    if (index == int(Command::MoveBack))
        announcer_->announce(walkAnnouncement(form_, before));
    if (form_.history().size() < before && !form_.history().isEmpty()) {
        assistant_->countTakeBack();
        tasks_->noteTakeBack();
    }
}

void MainWindow::Option1_Click(int index)
{
    assistant_->clearTransient();
    form_.Option1_Click(index);
    mirrorForm();
}

void MainWindow::setBoardShape(BoardShape shape)
{
    if (!isOffered(shape) || puzzle_->isOn() || (tasks_->isOn() && shape != tasks_->task().shape))
        return;
    assistant_->clearTransient();
    form_.setShape(shape);
    mirrorForm();
}

void MainWindow::Timer1_Timer()
{
    form_.Timer1_Timer();
    mirrorForm();
    gallop_->announceStep();
    sound_->stepped();
}

void MainWindow::redoMove()
{
    assistant_->clearTransient();
    const qsizetype before = form_.history().size();
    form_.redoMove();
    mirrorForm();
    announcer_->announce(walkAnnouncement(form_, before));
    if (form_.history().size() > before)
        assistant_->reportWalkEnd(false);
}

bool MainWindow::canRestoreWalk() const
{
    const std::optional<BoardShape> kept = form_.keptShape();
    return form_.canRestoreWalk() && (!tasks_->isOn() || kept == tasks_->task().shape)
           && (!puzzle_->isOn() || kept == BoardShape{});
}

void MainWindow::restoreWalk()
{
    if (!canRestoreWalk())
        return;
    assistant_->clearTransient();
    form_.restoreWalk();
    mirrorForm();
    announcer_->announce(walkAnnouncement(form_, 0));
}

void MainWindow::replaceWalk(const std::vector<int> &squares)
{
    assistant_->clearTransient();
    form_.replaceWalk(squares);
    mirrorForm();
    announcer_->announce(walkAnnouncement(form_, 0));
    assistant_->reportWalkEnd(false);
}

void MainWindow::pauseGallop(bool paused)
{
    form_.pauseGallop(paused);
    mirrorForm();
}

void MainWindow::stepGallop(bool forward)
{
    if (!form_.gallopPaused())
        return;
    if (forward)
        form_.stepGallop();
    else
        form_.stepGallopBack();
    mirrorForm();
    gallop_->announceStep();
    sound_->stepped();
}

void MainWindow::restorePreferences()
{
    const Preferences::Restoring restoring(preferences_);
    gallop_->restorePreferences();
    sound_->restorePreferences();
    zoom_->restorePreferences();
    projector_->restorePreferences();
}

void MainWindow::showGuide()
{
    if (!guide_)
        guide_ = new GuideWindow(this);
    guide_->setScale(layout_.scale);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    zoom_->windowResized();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (!keyboard_.keyPressed(event))
        QWidget::keyPressEvent(event);
}

void MainWindow::announce(const QString &text)
{
    announcer_->announce(text);
}

void MainWindow::showMessage(const QString &text)
{
    assistant_->showMessage(text);
}

void MainWindow::setHintShown(int n, bool shown)
{
    squares_[std::size_t(n)]->setHintShown(shown);
}

void MainWindow::setClue(int n, int number)
{
    squares_[std::size_t(n)]->setClue(number);
}

void MainWindow::showProblem(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (WalkFiles::acceptsDrop(event->mimeData()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (WalkFiles::acceptsDrop(event->mimeData())) {
        event->acceptProposedAction();
        walkFiles_->drop(event->mimeData());
    }
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    pictures_->paintMargins(event->region());
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    actions_->contextMenu()->popup(event->globalPos());
}

void MainWindow::mirrorConditions(const Board::Changes &changes)
{
    const int knight = form_.knightSquare();
    for (int n = 0; n < squareCount; ++n) {
        if (changes.test(std::size_t(n)) || n == knight || n == knightSquare_)
            squares_[std::size_t(n)]->setCondition(aids_->shownCondition(squareCondition(form_, n)));
    }
    knightSquare_ = knight;
}

void MainWindow::mirrorCounts()
{
    for (int n = 0; n < squareCount; ++n)
        squares_[std::size_t(n)]->setCount(aids_->countFor(n));
}

void MainWindow::showAllSquares()
{
    for (int n = 0; n < form_.board().elementCount(); ++n)
        squares_[std::size_t(n)]->showSquare(aids_->shown(n, form_.board().square(n)));
    mirrorConditions(Board::Changes().set());
    mirrorCounts();
    projector_->followForm();
}

void MainWindow::updateActions()
{
    if (!actions_)
        return;
    actions_->update(form_);
    mirrorCommands();
    // A task's start square ringed until its first move.
    for (int n = 0, start = tasks_->startSquare(); n < squareCount; ++n)
        squares_[std::size_t(n)]->setStartShown(n == start);
}

// Why the task on refuses a button's command: its action's refusal.
QString MainWindow::commandRefusal(int index) const
{
    return index >= 0 && index < commandCount ? actions_->refusal(commandActions[std::size_t(index)]) : QString();
}

// The buttons as their actions: a task that does not show the answer disables "Покажи" and
// "Галоп", and says why.
void MainWindow::mirrorCommands()
{
    std::array<QString, commandCount> refusals;
    for (int i = 0; i < commandCount; ++i) {
        refusals[std::size_t(i)] = commandRefusal(i);
        if (commands_[std::size_t(i)]->toolTip() != refusals[std::size_t(i)])
            commands_[std::size_t(i)]->setToolTip(refusals[std::size_t(i)]);
    }
    // Enabling first: when the focused button is disabled, the focus moves on to the one that
    // has just become enabled ("Покажи" hands it to "Галоп"), not past it.
    for (const bool enable : {true, false}) {
        for (int i = 0; i < commandCount; ++i) {
            if ((form_.isEnabled(Command(i)) && refusals[std::size_t(i)].isNull()) == enable)
                commands_[std::size_t(i)]->setEnabled(enable);
        }
    }
}

void MainWindow::mirrorForm()
{
    if (shownShape_ != form_.shape())
        followShape();
    const Board::Changes changes = form_.takeBoardChanges();
    for (int n = 0; n < Board::elementLimit; ++n) {
        if (changes.test(std::size_t(n)))
            squares_[std::size_t(n)]->showSquare(aids_->shown(n, form_.board().square(n)));
    }
    mirrorConditions(changes);
    if (aids_->countsShown())
        mirrorCounts();
    if (shownTextRevision_ != form_.textRevision()) {
        shownTextRevision_ = form_.textRevision();
        text_->setDescription(form_.text());
    }
    pictures_->followForm();
    gallop_->followForm();
    assistant_->followForm();
    autosave_->followForm();
    puzzle_->followForm();
    tasks_->followForm();
    projector_->followForm();
    boardChoice_->followForm();
    // An option chosen by the program's own keys shows as chosen.
    if (QRadioButton *chosen = options_[std::size_t(form_.problemIndex())]; !chosen->isChecked()) {
        const QSignalBlocker blocker(chosen);
        chosen->setChecked(true);
    }
    // The actions, the buttons and the start square, once every feature has followed the form.
    updateActions();
}

} // namespace knight
