// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/results_dialog.h"

#include "app/features/file_dialog.h"
#include "files/file_io.h"
#include "tasks/task_list.h"

#include <QCollator>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

namespace knight {

namespace {

constexpr int dateColumn = 7; // of resultsHeader()
constexpr int shownRows = 12;
constexpr int sortRole = Qt::UserRole + 1;

// A cell that shows text and sorts by value.
QStandardItem *cell(const QString &text, const QVariant &value)
{
    auto *item = new QStandardItem(text);
    item->setData(value, sortRole);
    item->setEditable(false);
    return item;
}

} // namespace

// The attempts the filters leave, sorted by a column's values.
class AttemptFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setAccepts(std::function<bool(int)> accepts)
    {
        accepts_ = std::move(accepts);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &) const override { return !accepts_ || accepts_(row); }

private:
    std::function<bool(int)> accepts_;
};

ResultsDialog::ResultsDialog(ResultsStore &store, QWidget *parent)
    : QDialog(parent)
    , model_(new QStandardItemModel(this))
    , sorted_(new AttemptFilter(this))
    , table_(new QTableView(this))
    , pupils_(new QComboBox(this))
    , tasks_(new QComboBox(this))
    , problem_(new QLabel(this))
{
    setWindowTitle(tr("Резултати"));
    const ResultsStore::Reading reading = store.read();
    attempts_ = reading.attempts;
    // Above the table: why it is empty, when it is.
    if (!reading.problem.isNull())
        problem_->setText(tr("Резултатите не могат да бъдат прочетени: %1.").arg(reading.problem));
    else if (attempts_.empty())
        problem_->setText(tr("Още няма резултати: опитът на ученик се записва, когато той реши задача от „Задачи“ или я остави, след като е направил поне един свой ход."));
    problem_->setVisible(!problem_->text().isEmpty());
    problem_->setWordWrap(true);

    model_->setHorizontalHeaderLabels(resultsHeader());
    const QLocale locale = languageLocale(languageInUse());
    std::set<QString> pupils;
    for (std::size_t i = 0; i < attempts_.size(); ++i) {
        const Attempt &a = attempts_[i];
        QStandardItem *name = cell(shownName(pupilName(a.pupil)), a.pupil.toLower());
        if (a.pupil.size() > shownNameLength)
            name->setToolTip(pupilName(a.pupil));
        QList<QStandardItem *> row{name, cell(locale.toString(a.task), a.task),
                                   cell(outcomeText(a.outcome), int(a.outcome)),
                                   cell(minutesAndSeconds(a.seconds), a.seconds),
                                   cell(locale.toString(a.takeBacks), a.takeBacks), cell(locale.toString(a.hints), a.hints),
                                   cell(locale.toString(a.verdicts), a.verdicts),
                                   cell(locale.toString(a.finished.toLocalTime(), QLocale::ShortFormat), a.finished),
                                   cell(helpText(a.help), a.help)};
        model_->appendRow(row);
        pupils.insert(a.pupil);
    }
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(sortRole);
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(dateColumn, Qt::DescendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    pupils_->addItem(tr("Всички ученици"));
    // In the order of the program's language: "Ана" before "Ясен", "Élise" by "Eli".
    QStringList ordered(pupils.begin(), pupils.end());
    QCollator collator(locale);
    std::sort(ordered.begin(), ordered.end(), collator);
    for (const QString &pupil : std::as_const(ordered))
        pupils_->addItem(shownName(pupilName(pupil)), pupil);
    tasks_->addItem(tr("Всички задачи"));
    for (std::size_t i = 0; i < lessonTasks().size(); ++i)
        tasks_->addItem(tr("Задача %1").arg(i + 1), int(i + 1));
    connect(pupils_, &QComboBox::currentIndexChanged, this, &ResultsDialog::filter);
    connect(tasks_, &QComboBox::currentIndexChanged, this, &ResultsDialog::filter);

    auto *filters = new QHBoxLayout;
    filters->addWidget(pupils_);
    filters->addWidget(tasks_);
    filters->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *csv = buttons->addButton(tr("Запази CSV…"), QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(problem_);
    layout->addLayout(filters);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(csv, &QPushButton::clicked, this, &ResultsDialog::exportDialog);
    // Every column whole and a dozen rows in sight, whatever the rows hold.
    table_->resizeColumnsToContents();
    const int frame = 2 * table_->frameWidth();
    table_->setMinimumSize(table_->horizontalHeader()->length() + frame + table_->verticalScrollBar()->sizeHint().width(),
                           table_->verticalHeader()->defaultSectionSize() * shownRows
                               + table_->horizontalHeader()->sizeHint().height() + frame);
}

void ResultsDialog::filter()
{
    const QVariant pupil = pupils_->currentData();
    const QVariant task = tasks_->currentData();
    sorted_->setAccepts([this, pupil, task](int row) {
        const Attempt &a = attempts_[std::size_t(row)];
        return (!pupil.isValid() || a.pupil == pupil.toString()) && (!task.isValid() || a.task == task.toInt());
    });
}

QString ResultsDialog::exportTo(const QString &name) const
{
    std::vector<Attempt> shown;
    for (int row = 0; row < sorted_->rowCount(); ++row)
        shown.push_back(attempts_[std::size_t(sorted_->mapToSource(sorted_->index(row, 0)).row())]);
    return writeFileAtomically(name, resultsCsv(shown, languageInUse()));
}

void ResultsDialog::exportDialog()
{
    const QString path = askSaveName(this, tr("Запази резултатите"), tr("Таблица CSV (*.csv)"), tr("резултати.csv"));
    if (path.isNull())
        return;
    if (const QString problem = exportTo(path); !problem.isNull())
        QMessageBox::warning(this, windowTitle(), tr("Резултатите не са запазени: %1.").arg(problem));
}

} // namespace knight
