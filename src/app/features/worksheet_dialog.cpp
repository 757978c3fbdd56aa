// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/worksheet_dialog.h"

#include "app/features/assistant.h"
#include "app/features/file_dialog.h"
#include "app/form/form_view.h"
#include "files/file_names.h"
#include "picture/export.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace knight {

namespace {

constexpr int progressMilliseconds = 100;
// The last choice, remembered once a worksheet is asked for: the next class often wants the same.
constexpr char boardKey[] = "worksheet/board";
constexpr char levelKey[] = "worksheet/level";
constexpr char countKey[] = "worksheet/count";
constexpr char closedKey[] = "worksheet/closed";

} // namespace

WorksheetDialog::WorksheetDialog(QWidget *parent, const Preferences *remembered)
    : QDialog(parent)
    , board_(new QComboBox(this))
    , level_(new QComboBox(this))
    , count_(new QSpinBox(this))
    , seed_(new QLineEdit(this))
    , closed_(new QCheckBox(tr("Затворени обиколки"), this))
{
    setWindowTitle(tr("Работен лист"));
    for (const PuzzleBoard &board : puzzleBoards)
        board_->addItem(tr("%1 × %2").arg(board.files).arg(board.ranks));
    level_->addItems({tr("Лесно"), tr("Средно"), tr("Трудно")});
    count_->setRange(1, worksheetLimit);
    // A first lesson's sheet: the smallest board, easy, unless another was chosen last time.
    const auto recalled = [remembered](const char *key, int fallback, int last) {
        const int value = remembered ? remembered->value(QLatin1String(key), fallback).toInt() : fallback;
        return value >= 0 && value <= last ? value : fallback;
    };
    board_->setCurrentIndex(recalled(boardKey, 0, int(puzzleBoards.size()) - 1));
    level_->setCurrentIndex(recalled(levelKey, int(Level::Easy), int(Level::Hard)));
    count_->setValue(recalled(countKey, 1, worksheetLimit));
    seed_->setPlaceholderText(tr("нова"));
    seed_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,19}")), seed_));
    seed_->setToolTip(tr("Серията, отпечатана горе на страниците на лист, дава същите пъзели. Празно: нови пъзели."));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Направи листа…"));
    auto *form = new QFormLayout(this);
    form->addRow(tr("Дъска:"), board_);
    form->addRow(tr("Ниво:"), level_);
    form->addRow(tr("Брой пъзели:"), count_);
    form->addRow(tr("Серия:"), seed_);
    form->addRow(closed_);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(board_, &QComboBox::currentIndexChanged, this, &WorksheetDialog::boardChosen);
    boardChosen();
    closed_->setChecked(closed_->isEnabled() && remembered && remembered->flag(QLatin1String(closedKey)));
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
    bool given = false;
    request.seed = seed_->text().toULongLong(&given);
    // New puzzles: a seed short enough to copy from the message into the next dialog.
    if (!given)
        request.seed = QRandomGenerator::global()->bounded(1000000u);
    return request;
}

void WorksheetDialog::remember(Preferences &preferences) const
{
    preferences.setValue(QLatin1String(boardKey), board_->currentIndex());
    preferences.setValue(QLatin1String(levelKey), level_->currentIndex());
    preferences.setValue(QLatin1String(countKey), count_->value());
    preferences.setValue(QLatin1String(closedKey), closed_->isChecked());
}

void WorksheetDialog::ask(FormView &view, QWidget *window)
{
    WorksheetDialog dialog(window, &view.preferences());
    while (dialog.exec() == QDialog::Accepted) {
        dialog.remember(view.preferences());
        const WorksheetRequest request = dialog.request();
        const QString path = askSaveName(window, tr("Запази работен лист"), tr("Документ PDF (*.pdf)"), tr("работен-лист.pdf"));
        if (path.isNull())
            return;
        bool cancelled = false;
        int made = 0;
        const QString problem = makeWorksheet(window, request, path, &cancelled, &made);
        if (problem.isEmpty()) {
            if (!cancelled)
                view.showMessage(madeText(request, path, made));
            return;
        }
        view.showProblem(problem);
        // Asked again as it was left, with the seed of the same puzzles.
        dialog.seed_->setText(QString::number(request.seed));
    }
}

QString WorksheetDialog::madeText(const WorksheetRequest &request, const QString &path, int made)
{
    QString text = tr("Записани са пъзели: %n в „%1“, отговорите – в „%2“. Същите пъзели дава серия %3.", "", made)
                       .arg(shownText(QFileInfo(path).fileName()), shownText(QFileInfo(worksheetKeyPath(path)).fileName()))
                       .arg(request.seed);
    if (made < request.count)
        text += u' ' + tr("Дъската няма повече различни пъзели от това ниво.");
    return text;
}

QString makeWorksheet(QWidget *parent, const WorksheetRequest &request, const QString &path, bool *cancelled, int *made)
{
    if (const QString problem = worksheetNameProblem(path); !problem.isEmpty())
        return problem;
    // Hard puzzles on 8 x 8 take a while each: made off the window's thread, which shows the
    // progress and stays responsive.
    std::vector<Puzzle> puzzles;
    std::atomic<int> done{0};
    std::atomic<bool> stop{false};
    QThread *worker = QThread::create([&] {
        WorksheetMaker maker(request);
        while (!stop) {
            std::optional<Puzzle> puzzle = maker.next();
            if (!puzzle)
                return;
            puzzles.push_back(std::move(*puzzle));
            ++done;
        }
    });
    QProgressDialog progress(WorksheetDialog::tr("Пъзелите се подготвят…"), WorksheetDialog::tr("Отказ"), 0, request.count, parent);
    progress.setWindowTitle(WorksheetDialog::tr("Работен лист"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &progress, [&] { progress.setValue(done); });
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
    if (made)
        *made = int(puzzles.size());
    if (stop)
        return {};
    if (puzzles.empty())
        return WorksheetDialog::tr("Тази дъска няма обиколки от избрания вид.");
    // The window's typeface; Liberation Serif stands in for it on Debian.
    return writeWorksheet(path, request, puzzles, QFont(QStringLiteral("Times New Roman")), defaultPageSize());
}

} // namespace knight
