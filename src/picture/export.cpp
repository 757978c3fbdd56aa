// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/export.h"

#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace knight {

namespace {

constexpr double pageMarginMillimetres = 15;

} // namespace

QPageSize defaultPageSize()
{
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                        : QPageSize::A4);
}

QString exportDiagram(const QString &path, const Diagram &diagram, const QFont &font, const QPageSize &page)
{
    const QString suffix = path.section(u'.', -1).toLower();
    const bool png = suffix == QLatin1StringView("png");
    if ((!png && suffix != QLatin1StringView("pdf")) || !path.contains(u'.'))
        return QStringLiteral("„%1“: картината може да е само .png или .pdf").arg(path);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("„%1“ не може да се запише: %2").arg(path, file.errorString());
    if (png) {
        QImage image(pictureWidth, int(pictureWidth * diagramHeightPerWidth()), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintDiagram(painter, diagram, QRectF(image.rect()), font);
        painter.end();
        if (!image.save(&file, "PNG"))
            return QStringLiteral("„%1“ не може да се запише: %2").arg(path, file.errorString());
    } else {
        QPdfWriter writer(&file);
        writer.setPageSize(page);
        writer.setPageMargins(QMarginsF(pageMarginMillimetres, pageMarginMillimetres, pageMarginMillimetres,
                                        pageMarginMillimetres),
                              QPageLayout::Millimeter);
        writer.setTitle(diagram.caption);
        writer.setCreator(QStringLiteral("knight-tour"));
        QPainter painter(&writer);
        paintDiagram(painter, diagram, QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height())), font);
        painter.end();
    }
    if (!file.commit())
        return QStringLiteral("„%1“ не може да се запише: %2").arg(path, file.errorString());
    return {};
}

} // namespace knight
