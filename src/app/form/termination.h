// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace knight {

// A session logging out sends SIGTERM (a closed terminal SIGHUP): the window is closed as by
// Ctrl+Q, so that an attempt in progress and what is remembered are stored.
void closeOnTermination(QWidget &window);

} // namespace knight
