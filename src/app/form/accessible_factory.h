// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

namespace knight {

// Lets assistive technology see every Widget through Interface; installed once, however many
// widgets ask.
template<typename Widget, typename Interface>
void installAccessibleInterface()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString &className, QObject *object) -> QAccessibleInterface * {
            if (className == QLatin1StringView(Widget::staticMetaObject.className()))
                return new Interface(static_cast<Widget *>(object));
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace knight
