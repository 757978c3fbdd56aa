// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QStyleOption>

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

    // The round button drawn once for each look and size and kept: a zoom step repaints thirteen
    // of them, and the style draws each as several antialiased paths.
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_IndicatorRadioButton || option->rect.isEmpty()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const qreal ratio = painter->device()->devicePixelRatioF();
        const QString key = QStringLiteral("knight-option-%1-%2x%3-%4-%5")
                                .arg(uint(option->state))
                                .arg(option->rect.width())
                                .arg(option->rect.height())
                                .arg(option->palette.cacheKey())
                                .arg(ratio);
        QPixmap picture;
        if (!QPixmapCache::find(key, &picture)) {
            picture = QPixmap(option->rect.size() * ratio);
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::transparent);
            QPainter on(&picture);
            QStyleOption moved(*option);
            moved.rect.moveTo(0, 0);
            QProxyStyle::drawPrimitive(element, &moved, &on, widget);
            on.end();
            QPixmapCache::insert(key, picture);
        }
        painter->drawPixmap(option->rect.topLeft(), picture);
    }

private:
    double scale_ = 1;
};

} // namespace knight
