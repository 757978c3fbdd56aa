// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/board.h"

#include <utility>

namespace knight {

Board::Board()
{
    elements_.reserve(elementLimit);
    elements_.push_back(Square{{}, {}, templateSquareColor, templateSquareRect, false});
}

void Board::setCaption(int n, const QString &caption)
{
    write(n, &Square::caption, caption);
}

void Board::setToolTip(int n, const QString &toolTip)
{
    write(n, &Square::toolTip, toolTip);
}

void Board::setBackColor(int n, Color color)
{
    write(n, &Square::backColor, color);
}

void Board::setVisible(int n, bool visible)
{
    write(n, &Square::visible, visible);
}

// A new element copies the template in everything but visibility.
void Board::createElement(int n)
{
    Square copy = elements_.front();
    copy.visible = false;
    elements_.push_back(copy);
    changes_.set(std::size_t(n));
}

void Board::updateBoard(BoardUpdateKind kind, const QStringList &storedTour)
{
    // The squares are created once; every other kind needs them to exist.
    const bool created = elementCount() == elementLimit;
    if (created == (kind == BoardUpdateKind::Create))
        return;

    const TwipsRect templateRect = elements_.front().rect;
    const BoardShape area = kind == BoardUpdateKind::Create ? BoardShape{} : shape_;
    for (int row = 0; row < area.ranks; ++row) {
        for (int column = 0; column < area.files; ++column) {
            const int n = squareAt(row, column);
            switch (kind) {
            case BoardUpdateKind::Create:
                createElement(n + 1);
                elements_[std::size_t(n)].rect = squareRect(n, templateRect);
                setBackColor(n, baseColor(n));
                setVisible(n, true);
                break;
            case BoardUpdateKind::ShowTour:
                setCaption(n, storedTour.value(n));
                setToolTip(n, storedTour.value(n));
                break;
            case BoardUpdateKind::Reset:
                setCaption(n, QString());
                setToolTip(n, QString());
                setBackColor(n, baseColor(n));
                break;
            case BoardUpdateKind::RestoreColors:
                if (square(n).backColor != visitedColor)
                    setBackColor(n, baseColor(n));
                break;
            }
        }
    }
}

void Board::setRect(int n, TwipsRect rect)
{
    write(n, &Square::rect, rect);
}

void Board::setShape(BoardShape shape)
{
    if (elementCount() != elementLimit || shape == shape_)
        return;
    shape_ = shape;
    const TwipsRect templateRect = shapeTemplateRect(shape, templateSquareRect);
    for (int n = 0; n < squareCount; ++n) {
        setRect(n, squareRect(n, templateRect));
        setVisible(n, shape.contains(n));
    }
}

Board::Changes Board::takeChanges()
{
    return std::exchange(changes_, {});
}

} // namespace knight
