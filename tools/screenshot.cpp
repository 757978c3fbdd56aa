// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of the window in the middle of a walk with its path drawn, grabbed offscreen;
// or, given a screen's size, of the projector view on that screen: a walk with its hint at
// 1920 x 1080, a paused gallop at 1024 x 768, a verdict's squares framed at any other size;
// or, given "board", of a walk on the 5 x 5 board.
//
//   knight-screenshot OUTPUT.png [WIDTHxHEIGHT | board]
#include "app/form/mainwindow.h"
#include "app/features/pictures.h"
#include "app/projector/projector.h"
#include "app/projector/projector_window.h"
#include "app/form/square_label.h"
#include "board/squares.h"

#include <QAction>
#include <QApplication>
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

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool smallBoard = argc == 3 && qstrcmp(argv[2], "board") == 0;
    const QStringList size = argc == 3 && !smallBoard ? QString::fromLatin1(argv[2]).split(u'x') : QStringList();
    if (argc < 2 || argc > 3 || (argc == 3 && !smallBoard && size.size() != 2)) {
        std::fprintf(stderr, "usage: knight-screenshot OUTPUT.png [WIDTHxHEIGHT | board]\n");
        return 2;
    }
    knight::MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QWidget *shown = &window;
    if (smallBoard) {
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
