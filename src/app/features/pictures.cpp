// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/pictures.h"

#include "app/features/file_dialog.h"
#include "app/form/form_view.h"
#include "app/features/path_overlay.h"
#include "picture/export.h"

#include <QAction>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

namespace knight {

Pictures::Pictures(FormView &view, QWidget *window)
    : QObject(window)
    , view_(view)
    , window_(window)
    , pathOverlay_(new PathOverlay(window))
{
    pathOverlay_->hide();
}

void Pictures::setCoordinatesShown(bool shown)
{
    coordinatesShown_ = shown;
    view_.action(ActionId::Coordinates)->setChecked(shown);
    window_->update();
}

void Pictures::setPathShown(bool shown)
{
    pathShown_ = shown;
    view_.action(ActionId::Path)->setChecked(shown);
    pathOverlay_->setPath(shown ? pathOf(view_.form()) : std::vector<int>{}, view_.form().shape());
    pathOverlay_->setVisible(shown);
    pathOverlay_->raise();
}

void Pictures::followLayout()
{
    pathOverlay_->setGeometry(view_.boardArea().toAlignedRect());
}

void Pictures::followForm()
{
    if (pathShown_)
        pathOverlay_->setPath(pathOf(view_.form()), view_.form().shape());
}

void Pictures::paintMargins(const QRegion &region)
{
    if (!coordinatesShown_)
        return;
    // A button's or an option's repaint comes here too; the margins are seldom in it.
    // As deep as on the designed board, whatever the size of the squares.
    const QRectF board = view_.boardArea();
    const double margin = coordinateMargin * view_.formLayout().place(templateSquareRect).width();
    const auto margins = coordinateMargins(board, margin);
    if (!region.intersects(margins[0].toAlignedRect()) && !region.intersects(margins[1].toAlignedRect()))
        return;
    QPainter painter(window_);
    paintCoordinates(painter, board, view_.form().shape(), margin, window_->font(), window_->palette().color(QPalette::WindowText));
}

Diagram Pictures::diagram() const
{
    return diagramOf(view_.form(), pathShown_);
}

void Pictures::printTo(QPrinter &printer)
{
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    paintDiagram(painter, diagram(), QRectF(QPointF(0, 0), page.size()), window_->font());
}

bool Pictures::exportTo(const QString &path)
{
    const QString problem = exportDiagram(path, diagram(), window_->font());
    if (!problem.isEmpty())
        view_.showProblem(tr("Картината не е запазена: %1.").arg(problem));
    return problem.isEmpty();
}

void Pictures::printDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(defaultPageSize());
    printer.setDocName(diagram().caption);
    QPrintDialog dialog(&printer, window_);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

void Pictures::exportDialog()
{
    if (const QString path = askSaveName(window_, tr("Запази картина"), tr("Картина PNG (*.png);;Документ PDF (*.pdf)"),
                                         tr("дъска.png"));
        !path.isNull())
        exportTo(path);
}

} // namespace knight
