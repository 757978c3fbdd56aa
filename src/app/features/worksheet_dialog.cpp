// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/worksheet_dialog.h"

#include "app/features/assistant.h"
#include "app/features/file_dialog.h"
#include "app/form/form_view.h"
#include "picture/export.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFormLayout>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace knight {

namespace {

constexpr int defaultCount = 1;
constexpr int progressMilliseconds = 100;

} // namespace

WorksheetDialog::WorksheetDialog(QWidget *parent)
    : QDialog(parent)
    , board_(new QComboBox(this))
    , level_(new QComboBox(this))
    , count_(new QSpinBox(this))
    , closed_(new QCheckBox(tr("Затворени обиколки"), this))
{
    setWindowTitle(tr("Работен лист"));
    for (const PuzzleBoard &board : puzzleBoards)
        board_->addItem(tr("%1 × %2").arg(board.files).arg(board.ranks));
    board_->setCurrentIndex(int(puzzleBoards.size()) - 1); // 8 x 8
    level_->addItems({tr("Лесно"), tr("Средно"), tr("Трудно")});
    level_->setCurrentIndex(int(Level::Medium));
    count_->setRange(1, worksheetLimit);
    count_->setValue(defaultCount);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *form = new QFormLayout(this);
    form->addRow(tr("Дъска:"), board_);
    form->addRow(tr("Ниво:"), level_);
    form->addRow(tr("Брой пъзели:"), count_);
    form->addRow(closed_);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(board_, &QComboBox::currentIndexChanged, this, &WorksheetDialog::boardChosen);
    boardChosen();
}

// Closed tours only where the board has them.
void WorksheetDialog::boardChosen()
{
    const bool closedTours = puzzleBoards[std::size_t(board_->currentIndex())].closedTours;
    closed_->setEnabled(closedTours);
    if (!closedTours)
        closed_->setChecked(false);
}

WorksheetRequest WorksheetDialog::request() const
{
    const PuzzleBoard &board = puzzleBoards[std::size_t(board_->currentIndex())];
    WorksheetRequest request;
    request.files = board.files;
    request.ranks = board.ranks;
    request.level = Level(level_->currentIndex());
    request.count = count_->value();
    request.closed = closed_->isChecked();
    request.seed = QRandomGenerator::global()->generate64();
    return request;
}

void WorksheetDialog::ask(FormView &view, QWidget *window)
{
    WorksheetDialog dialog(window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const WorksheetRequest request = dialog.request();
    QFileDialog files(window, tr("Запази работен лист"), {}, tr("Документ PDF (*.pdf)"));
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setDefaultSuffix(QStringLiteral("pdf"));
    files.selectFile(tr("работен-лист.pdf"));
    speakProgramLanguage(files);
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty())
        return;
    const QString path = files.selectedFiles().first();
    bool cancelled = false;
    if (const QString problem = makeWorksheet(window, request, path, &cancelled); !problem.isEmpty())
        view.showProblem(problem);
    else if (!cancelled)
        view.showMessage(tr("Работният лист е записан: пъзели: %1.").arg(request.count));
}

QString makeWorksheet(QWidget *parent, const WorksheetRequest &request, const QString &path, bool *cancelled)
{
    if (const QString problem = worksheetNameProblem(path); !problem.isEmpty())
        return problem;
    // Hard puzzles on 8 x 8 take a while each: made off the window's thread, which shows the
    // progress and stays responsive.
    std::vector<Puzzle> puzzles;
    std::atomic<int> made{0};
    std::atomic<bool> stop{false};
    bool failed = false;
    QThread *worker = QThread::create([&] {
        for (int i = 0; i < request.count && !stop; ++i) {
            std::optional<Puzzle> puzzle = worksheetPuzzle(request, i);
            if (!puzzle) {
                failed = true;
                return;
            }
            puzzles.push_back(std::move(*puzzle));
            ++made;
        }
    });
    QProgressDialog progress(WorksheetDialog::tr("Пъзелите се подготвят…"), WorksheetDialog::tr("Отказ"), 0, request.count, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &progress, [&] { progress.setValue(made); });
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&] { stop = true; });
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    poll.start(progressMilliseconds);
    loop.exec();
    worker->wait();
    delete worker;
    progress.reset();
    if (cancelled)
        *cancelled = stop;
    if (stop)
        return {};
    if (failed)
        return WorksheetDialog::tr("Тази дъска няма обиколки от избрания вид.");
    // The window's typeface; Liberation Serif stands in for it on Debian.
    return writeWorksheet(path, puzzles, QFont(QStringLiteral("Times New Roman")), defaultPageSize());
}

} // namespace knight
