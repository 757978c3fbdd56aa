// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/export.h"

#include "files/file_io.h"
#include "files/file_names.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

namespace knight {

// The texts of this file, in the language in use.
class PictureText
{
    Q_DECLARE_TR_FUNCTIONS(PictureText)
};

namespace {

constexpr double pageMarginMillimetres = 15;

QByteArray pngBytes(const Diagram &diagram, const QFont &font)
{
    QImage image(pictureWidth, int(pictureWidth * diagramHeightPerWidth(diagram.shape)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintDiagram(painter, diagram, QRectF(image.rect()), font);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray pdfBytes(const Diagram &diagram, const QFont &font, const QPageSize &page)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(page);
    writer.setPageMargins(
        QMarginsF(pageMarginMillimetres, pageMarginMillimetres, pageMarginMillimetres, pageMarginMillimetres),
        QPageLayout::Millimeter);
    writer.setTitle(diagram.caption);
    writer.setCreator(QStringLiteral("knight-tour"));
    QPainter painter(&writer);
    paintDiagram(painter, diagram, QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height())), font);
    painter.end();
    return bytes;
}

} // namespace

QPageSize defaultPageSize()
{
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                        : QPageSize::A4);
}

QString exportDiagram(const QString &path, const Diagram &diagram, const QFont &font, const QPageSize &page)
{
    const QString shown = shownText(path);
    const QString suffix = path.section(u'.', -1).toLower();
    const bool png = suffix == QLatin1StringView("png");
    if ((!png && suffix != QLatin1StringView("pdf")) || !path.contains(u'.'))
        return PictureText::tr("„%1“: картината може да е само .png или .pdf").arg(shown);

    // Drawn whole in memory first: a writer that fails half-way cannot touch the file.
    const QByteArray bytes = png ? pngBytes(diagram, font) : pdfBytes(diagram, font, page);
    if (const QString problem = writeFileAtomically(path, bytes); !problem.isNull())
        return PictureText::tr("„%1“ не може да се запише: %2").arg(shown, problem);
    return {};
}

} // namespace knight
