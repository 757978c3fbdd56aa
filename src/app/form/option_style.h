// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QProxyStyle>

namespace knight {

// The program's style with the round buttons of the options, and the space after them, grown
// by the zoom's scale as their text is; used only away from the designed size.
class ScaledIndicatorStyle : public QProxyStyle
{
public:
    explicit ScaledIndicatorStyle(QObject *parent)
        : QProxyStyle(QApplication::style()->name())
    {
        setParent(parent);
    }

    void setScale(double scale) { scale_ = scale; }

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int designed = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_RadioButtonLabelSpacing:
            return int(designed * scale_ + 0.5);
        default:
            return designed;
        }
    }

private:
    double scale_ = 1;
};

} // namespace knight
