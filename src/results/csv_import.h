// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/results_store.h"

#include <QByteArray>

#include <vector>

namespace knight {

// The attempts of a results CSV as the program writes it, in either language (its separator,
// outcomes and help read back whichever it was written in). An attempt without an id (written
// before attempts had one) gets one made from its fields, so that importing a file twice adds
// nothing the second time. A row that cannot be read refuses the whole file, named by its line.
struct CsvImport {
    std::vector<Attempt> attempts;
    QString problem;
};
CsvImport attemptsOfCsv(const QByteArray &bytes);

} // namespace knight
