// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/features/assistant.h"
#include "app/form/mainwindow.h"
#include "app/form/square_label.h"
#include "test_support.h"

#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace knight::test {

// Clicks the named squares with the mouse, in order: "a1 b3 c5".
inline void clickSquares(MainWindow &window, const QString &names)
{
    for (const int n : squares(names))
        QTest::mouseClick(window.square(n), Qt::LeftButton);
}

// The assistant's message as the user sees it: empty while it is hidden.
inline QString message(const MainWindow &window)
{
    return window.assistant()->message()->isHidden() ? QString() : window.assistant()->message()->text();
}

// Every entry of a menu and of its submenus, in order.
inline QList<QAction *> menuEntries(const QMenu *menu)
{
    QList<QAction *> entries;
    for (QAction *action : menu->actions()) {
        entries.append(action);
        if (action->menu() && action->menu()->parent() == menu)
            entries.append(menuEntries(action->menu()));
    }
    return entries;
}

// A window shown and active, as a user has it.
struct ShownWindow {
    MainWindow window;
    ShownWindow()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};

// A settings store of the program's own kind (QSettings), in a folder of the test's instead of
// the user's: what one window writes, the next one made on the same folder reads.
class TestStore
{
public:
    std::unique_ptr<QSettings> open() const
    {
        return std::make_unique<QSettings>(dir_.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    }

private:
    QTemporaryDir dir_;
};

} // namespace knight::test
