// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/class_view.h"

#include "projector_look/projector_look.h"
#include "results/server_store.h"
#include "tasks/task_list.h"

#include <QLabel>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace knight {

namespace {

// Read from the back of a classroom, as the projector view's status is.
constexpr int pointSize = 20;
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
    problem_->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(problem_);
    layout->addWidget(table_);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (!store_.server())
            refresh();
        else if (!listening_)
            listen();
    });
    poll_->start(pollMilliseconds);
    listen();
    refresh();
    resize(900, 600);
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

void ClassView::listen()
{
    ServerStore *server = store_.server();
    if (!server)
        return;
    QString problem;
    QSqlDriver *driver = QSqlDatabase::database(server->connection(&problem), false).driver();
    if (!problem.isNull() || !driver)
        return;
    // A connection made again (the server restarted) has forgotten what it listened to.
    listening_ = driver->subscribedToNotifications().contains(QLatin1String(ServerStore::notification))
                 || driver->subscribeToNotification(QLatin1String(ServerStore::notification));
    if (!listening_)
        return;
    connect(driver, &QSqlDriver::notification, this, &ClassView::refresh, Qt::UniqueConnection);
    connect(driver, &QObject::destroyed, this, [this] { listening_ = false; });
    refresh();
}

void ClassView::refresh()
{
    const ResultsStore::Reading reading = store_.read();
    // What the table showed stays while the store cannot be read; the reason says why.
    problem_->setText(reading.problem.isNull() ? QString() : tr("Таблицата не може да бъде прочетена: %1.").arg(reading.problem));
    problem_->setVisible(!reading.problem.isNull());
    if (!reading.problem.isNull()) {
        listening_ = false;
        return;
    }
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
    QStringList pupils;
    for (const QString &pupil : shown_.pupils)
        pupils << shownName(pupil);
    table_->setVerticalHeaderLabels(pupils);
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
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    table_->setUpdatesEnabled(true);
}

} // namespace knight
