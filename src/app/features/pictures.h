// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture/diagram.h"

#include <QObject>

class QPrinter;
class QRegion;

namespace knight {

class FormView;
class PathOverlay;

// Pictures of the board: coordinates and the path on the screen, print and export on paper
// and in files, all painted by the same diagram functions.
class Pictures : public QObject
{
    Q_OBJECT

public:
    Pictures(FormView &view, QWidget *window);

    void setCoordinatesShown(bool shown);
    void setPathShown(bool shown);
    bool coordinatesShown() const { return coordinatesShown_; }
    bool pathShown() const { return pathShown_; }
    PathOverlay *pathOverlay() const { return pathOverlay_; }
    Diagram diagram() const;
    void printTo(QPrinter &printer);
    bool exportTo(const QString &path);
    void printDialog();
    void exportDialog();

    // The window's part: the coordinates in its margins (called from its paint event), and the
    // path following the form.
    void paintMargins(const QRegion &region);
    void followForm();
    void followLayout();

private:
    FormView &view_;
    QWidget *window_;
    PathOverlay *pathOverlay_;
    bool coordinatesShown_ = true;
    bool pathShown_ = false;
};

} // namespace knight
