// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/class_view.h"

#include "projector_look/projector_look.h"
#include "results/server_store.h"
#include "tasks/task_list.h"

#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace knight {

namespace {

// Read from the back of a classroom, with every task in a projector's width.
constexpr int pointSize = 16;
constexpr qsizetype nameLength = 24;
// A file has nobody to say it changed; a lost server connection is tried again as often.
constexpr int pollMilliseconds = 3000;

QColor colourOf(Color colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace

ClassView::ClassView(ResultsStore &store, QWidget *parent)
    : QDialog(parent)
    , store_(store)
    , problem_(new QLabel(this))
    , table_(new QTableWidget(this))
    , poll_(new QTimer(this))
{
    setWindowTitle(tr("Класът"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colourOf(projectorPalette.background));
    palette.setColor(QPalette::Base, colourOf(projectorPalette.background));
    palette.setColor(QPalette::WindowText, colourOf(projectorPalette.text));
    palette.setColor(QPalette::Text, colourOf(projectorPalette.text));
    setPalette(palette);
    QFont font = this->font();
    font.setPointSize(pointSize);
    setFont(font);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    problem_->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(problem_);
    layout->addWidget(table_);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (!store_.server()) {
            refresh();
            return;
        }
        // A server restarted drops the connection without a word: asked, and listened to anew.
        store_.server()->alive();
        listen();
    });
    poll_->start(pollMilliseconds);
    // Measured in the view's own type, before it is shown.
    ensurePolished();
    table_->ensurePolished();
    table_->horizontalHeader()->ensurePolished();
    table_->verticalHeader()->ensurePolished();
    // Listening reads the table once it listens; otherwise it is read here.
    if (!listen())
        refresh();
    resize(sizeHint());
}

ClassView *ClassView::showFor(ResultsStore &store, QWidget *window)
{
    auto *view = window->findChild<ClassView *>();
    if (!view) {
        view = new ClassView(store, window);
        // Closed, it stops listening and reading.
        view->setAttribute(Qt::WA_DeleteOnClose);
    }
    view->show();
    view->raise();
    view->activateWindow();
    return view;
}

bool ClassView::listen()
{
    ServerStore *server = store_.server();
    if (!server)
        return false;
    QString problem;
    QSqlDriver *driver = QSqlDatabase::database(server->connection(&problem), false).driver();
    if (!problem.isNull() || !driver)
        return false;
    // A connection made again (the server restarted) has forgotten what it listened to.
    const QString channel = QLatin1String(ServerStore::notification);
    if (driver->subscribedToNotifications().contains(channel))
        return true;
    if (!driver->subscribeToNotification(channel))
        return false;
    connect(driver, &QSqlDriver::notification, this, &ClassView::refresh, Qt::UniqueConnection);
    // What was stored while nobody listened.
    refresh();
    return true;
}

void ClassView::refresh()
{
    const ResultsStore::Reading reading = store_.read();
    // What the table showed stays while the store cannot be read; the reason says why.
    problem_->setText(reading.problem.isNull() ? QString() : tr("Таблицата не може да бъде прочетена: %1.").arg(reading.problem));
    problem_->setVisible(!reading.problem.isNull());
    if (!reading.problem.isNull())
        return;
    shown_ = classTable(reading.attempts, lessonTasks().size());
    // Sized once when filled: measured at every cell, a room's year of results takes minutes.
    table_->setUpdatesEnabled(false);
    table_->clearContents();
    table_->setRowCount(int(shown_.pupils.size()));
    table_->setColumnCount(int(lessonTasks().size()));
    QStringList tasks;
    for (std::size_t i = 0; i < lessonTasks().size(); ++i)
        tasks << QString::number(i + 1);
    table_->setHorizontalHeaderLabels(tasks);
    for (int row = 0; row < table_->rowCount(); ++row) {
        // A long name shortened, so that every task fits a projector's width; whole in a tooltip.
        const QString &pupil = shown_.pupils[row];
        auto *name = new QTableWidgetItem(pupil.size() <= nameLength ? pupil : pupil.left(nameLength - 1) + QChar(0x2026));
        name->setToolTip(pupil);
        table_->setVerticalHeaderItem(row, name);
    }
    for (int row = 0; row < table_->rowCount(); ++row) {
        for (int column = 0; column < table_->columnCount(); ++column) {
            const ClassCell &cell = shown_.cells[std::size_t(row)][std::size_t(column)];
            auto *item = new QTableWidgetItem(classCellText(cell));
            item->setTextAlignment(Qt::AlignCenter);
            // Solved alone green, with help or not solved plain: the words say which.
            if (cell.best >= 0 && cell.help == 0)
                item->setBackground(colourOf(projectorPalette.reachable));
            item->setForeground(colourOf(cell.best >= 0 && cell.help == 0 ? textOn(projectorPalette.reachable)
                                                                           : projectorPalette.text));
            if (cell.attempts > 0)
                item->setToolTip(tr("%1, задача %2: опити %3; помощ: %4")
                                     .arg(shown_.pupils[row])
                                     .arg(column + 1)
                                     .arg(cell.attempts)
                                     .arg(helpText(cell.help)));
            table_->setItem(row, column, item);
        }
    }
    // Every task's column as wide as the widest: the table reads as a grid from afar.
    table_->resizeColumnsToContents();
    int widest = 0;
    for (int column = 0; column < table_->columnCount(); ++column)
        widest = std::max(widest, table_->columnWidth(column));
    for (int column = 0; column < table_->columnCount(); ++column)
        table_->setColumnWidth(column, widest);
    table_->resizeRowsToContents();
    table_->setUpdatesEnabled(true);
}

// As large as the table, within the screen: a projector's shows every task at once.
QSize ClassView::sizeHint() const
{
    const int frame = 2 * table_->frameWidth();
    const QSize table(table_->verticalHeader()->sizeHint().width() + table_->horizontalHeader()->length() + frame
                          + table_->verticalScrollBar()->sizeHint().width(),
                      table_->horizontalHeader()->height() + table_->verticalHeader()->length() + frame
                          + table_->horizontalScrollBar()->sizeHint().height());
    const QMargins margins = layout()->contentsMargins();
    QSize wanted = table + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
    if (problem_->isVisible())
        wanted.rheight() += problem_->sizeHint().height() + layout()->spacing();
    const QRect screen = (parentWidget() ? parentWidget()->screen() : this->screen())->availableGeometry();
    return wanted.boundedTo(screen.size() * 19 / 20).expandedTo(QSize(480, 240));
}

} // namespace knight
