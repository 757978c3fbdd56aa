// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_accessible.h"

#include "app/accessible_factory.h"
#include "app/mainwindow.h"
#include "app/square_label.h"
#include "tours/texts.h"

#include <QAccessibleWidget>

namespace knight {

namespace {

// The spare square element is never shown and means nothing: assistive technology does not
// list it among the window's children.
class WindowAccessible : public QAccessibleWidget
{
public:
    explicit WindowAccessible(MainWindow *window)
        : QAccessibleWidget(window, QAccessible::Window)
    {
    }

    int childCount() const override { return int(children().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> list = children();
        if (index < 0 || index >= list.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(list.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return int(children().indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    QList<QWidget *> children() const
    {
        const auto *window = static_cast<const MainWindow *>(widget());
        QList<QWidget *> list;
        for (QObject *object : window->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && child != window->square(Board::spareElement))
                list.append(child);
        }
        return list;
    }
};

} // namespace

QString optionDescription(int kind)
{
    constexpr int describedKinds = 3;
    constexpr int describedVariant = 12;
    if (kind < describedKinds) {
        const QString first = descriptionLines(kind).value(0);
        return first.section(u' ', 0, 5) + QStringLiteral("…");
    }
    if (kind == describedVariant)
        return QStringLiteral("Обиколката, описана поле по поле във въведението");
    return QStringLiteral("Готова обиколка, подобна на предишните");
}


void installWindowAccessible()
{
    installAccessibleInterface<MainWindow, WindowAccessible>();
}

} // namespace knight
