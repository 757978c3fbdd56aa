// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of the window in the middle of a walk with its path drawn, grabbed offscreen;
// or, given a screen's size, of the projector view on that screen: a walk with its hint at
// 1920 x 1080, a paused gallop at 1024 x 768, a verdict's squares framed at any other size;
// or, given "board", of a walk on the 5 x 5 board; or, given "tasks" or "tasks-en", of the
// list of tasks with a pupil's best times (in English for the second).
//
//   knight-screenshot OUTPUT.png [WIDTHxHEIGHT | board | tasks | tasks-en]
#include "app/form/mainwindow.h"
#include "app/features/pictures.h"
#include "app/projector/projector.h"
#include "app/projector/projector_window.h"
#include "app/form/square_label.h"
#include "app/features/task_dialog.h"
#include "app/features/task_play.h"
#include "board/squares.h"
#include "language/language.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTest>

#include <cstdio>

namespace {

void play(knight::MainWindow &window, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        window.Label2_Click(knight::squareNamed(QString::fromLatin1(name)));
}

QWidget *projectorScene(knight::MainWindow &window, QSize screen)
{
    using knight::ActionId;
    window.projector()->setOn(true);
    QWidget *view = window.projector()->view();
    view->showNormal();
    view->resize(screen);
    if (screen == QSize(1920, 1080)) {
        play(window, {"b1", "c3", "e4", "f6", "d5", "e3", "c4"});
        window.action(ActionId::Hint)->trigger();
    } else if (screen == QSize(1024, 768)) {
        window.Command1_Click(int(knight::Command::Show));
        window.Command1_Click(int(knight::Command::Gallop));
        for (int i = 0; i < 17; ++i)
            window.Timer1_Timer();
        window.action(ActionId::PauseGallop)->trigger();
    } else {
        play(window, {"b3", "d4", "c2", "e3"});
        window.action(ActionId::Verdict)->trigger();
    }
    return view;
}

// The list as a pupil sees it after solving two tasks; the results in a folder of its own.
QWidget *taskList(knight::MainWindow &window)
{
    using namespace knight;
    static QTemporaryDir results;
    window.tasks()->useStore(std::make_unique<ResultsStore>(results.filePath(QStringLiteral("results.sqlite"))));
    const QString pupil = languageInUse() == Language::English ? QStringLiteral("Maria") : QStringLiteral("Мария");
    window.tasks()->setPupil(pupil);
    const QDateTime day(QDate(2026, 12, 10), QTime(10, 0));
    for (const auto &[task, seconds] : {std::pair{1, 83}, std::pair{2, 71}, std::pair{3, 154}})
        window.tasks()->store().record({pupil, task, Outcome::Solved, seconds, 1, 0, 0, day});
    auto *dialog = new TaskDialog(*window.tasks(), &window);
    dialog->list()->setCurrentItem(dialog->list()->topLevelItem(3));
    dialog->show();
    return dialog;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString scene = argc == 3 ? QString::fromLatin1(argv[2]) : QString();
    const bool smallBoard = scene == u"board";
    const bool tasks = scene.startsWith(u"tasks");
    const QStringList size = argc == 3 && !smallBoard && !tasks ? scene.split(u'x') : QStringList();
    if (argc < 2 || argc > 3 || (argc == 3 && !smallBoard && !tasks && size.size() != 2)) {
        std::fprintf(stderr, "usage: knight-screenshot OUTPUT.png [WIDTHxHEIGHT | board | tasks | tasks-en]\n");
        return 2;
    }
    knight::Translations translations;
    if (tasks) {
        translations.use(scene == u"tasks-en" ? knight::Language::English : knight::Language::Bulgarian);
        translations.install();
    }
    knight::MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QWidget *shown = &window;
    if (tasks) {
        shown = taskList(window);
        if (!QTest::qWaitForWindowExposed(shown))
            return 1;
    } else if (smallBoard) {
        window.setBoardShape({5, 5});
        play(window, {"a1", "b3", "c5", "d3", "e1", "c2"});
        window.pictures()->setPathShown(true);
    } else if (size.isEmpty()) {
        play(window, {"b1", "c3", "e4", "f6", "d5", "e3", "c4"});
        window.pictures()->setPathShown(true);
    } else {
        shown = projectorScene(window, QSize(size[0].toInt(), size[1].toInt()));
    }
    if (!shown->grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
