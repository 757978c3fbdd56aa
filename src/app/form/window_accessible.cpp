// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/window_accessible.h"

#include "app/form/accessible_factory.h"
#include "app/form/mainwindow.h"
#include "app/form/square_label.h"
#include "tours/texts.h"

#include <QAccessibleWidget>
#include <QCoreApplication>

namespace knight {

// The texts of this file, in the language in use.
class AccessibleText
{
    Q_DECLARE_TR_FUNCTIONS(AccessibleText)
};

constexpr const char *similarTour = QT_TRANSLATE_NOOP("AccessibleText", "Готова обиколка, подобна на предишните");

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
    // Written for each kind, not cut from its description.
    static constexpr std::array<const char *, tourKindCount> descriptions{
        QT_TRANSLATE_NOOP("AccessibleText", "Затворената обиколка от 1757 г."),
        QT_TRANSLATE_NOOP("AccessibleText", "Обиколка отделно по външната и по вътрешната част на дъската"),
        QT_TRANSLATE_NOOP("AccessibleText", "Обиколка по четвърти на дъската"),
        similarTour, similarTour, similarTour, similarTour, similarTour,
        similarTour, similarTour, similarTour, similarTour,
        QT_TRANSLATE_NOOP("AccessibleText", "Обиколката, описана поле по поле във въведението"),
    };
    return AccessibleText::tr(descriptions.at(std::size_t(kind)));
}


void installWindowAccessible()
{
    installAccessibleInterface<MainWindow, WindowAccessible>();
}

} // namespace knight
