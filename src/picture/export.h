// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture/diagram.h"

#include <QPageSize>
#include <QString>

namespace knight {

// A PNG picture is this wide and as high as the diagram's proportions ask.
inline constexpr int pictureWidth = 900;

// A4, or Letter where the system's measures are American.
QPageSize defaultPageSize();

// Writes the diagram to a .png or .pdf file (by its extension, in any case). On failure
// returns the reason and leaves no file behind, nor a part of one.
QString exportDiagram(const QString &path, const Diagram &diagram, const QFont &font,
                      const QPageSize &page = defaultPageSize());

} // namespace knight
