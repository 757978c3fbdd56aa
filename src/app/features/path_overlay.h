// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/squares.h"

#include <QWidget>

#include <vector>

namespace knight {

// The knight's path drawn over the board. It takes no clicks: they reach the square below.
class PathOverlay : public QWidget
{
    Q_OBJECT

public:
    explicit PathOverlay(QWidget *parent);

    void setPath(const std::vector<int> &path, BoardShape shape);
    const std::vector<int> &path() const { return path_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<int> path_;
    BoardShape shape_;
};

} // namespace knight
