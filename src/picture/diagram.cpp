// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/diagram.h"

#include "picture/qt_color.h"
#include "tours/knight_form.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

#include <algorithm>

namespace knight {

// The texts of this file, in the language in use.
class DiagramText
{
    Q_DECLARE_TR_FUNCTIONS(DiagramText)
};

namespace {

// The knight's mark: a frame in dark red, open at the square's top-left corner so that the
// square's own colour shows there, and thin enough to leave the number free.
constexpr Color knightMarkColor{200, 0, 0};
constexpr Color startMarkColor{0, 60, 230};
constexpr Color startEdgeColor{255, 255, 255};
constexpr double markInset = 1.0 / 33;     // of the square's side: inside the border
constexpr double markThickness = 2.0 / 33;
constexpr double markOpening = 10.0 / 33;  // the untouched top-left corner

constexpr Color pathColor{0, 0, 160};

constexpr char16_t blackKnight = u'\u265E';
constexpr double knightFigureSize = 0.8; // of the square's side
constexpr double cornerNumberSize = 0.38;
constexpr double markWidth = 0.09;

// Layout of a diagram in units of one square.
constexpr double captionHeight = 0.9;
constexpr double rightMargin = 0.3;
constexpr double widthUnits(BoardShape shape)
{
    return coordinateMargin + shape.files + rightMargin;
}

constexpr double heightUnits(BoardShape shape)
{
    return captionHeight + shape.ranks + coordinateMargin;
}

} // namespace

double diagramHeightPerWidth(BoardShape shape)
{
    return heightUnits(shape) / widthUnits(shape);
}

std::vector<int> pathOf(const KnightForm &form)
{
    std::vector<int> path = form.squaresOnBoard();
    // While the tour gallops, running or paused, up to the painted step: no further, or the
    // path would give the rest of the tour away.
    if (form.gallopOn())
        path.resize(std::min(path.size(), std::size_t(std::max(1, form.gallopStep()))));
    return path;
}

Diagram diagramOf(const KnightForm &form, bool withPath)
{
    Diagram diagram;
    diagram.shape = form.shape();
    for (int n = 0; n < squareCount; ++n)
        diagram.squares[std::size_t(n)] = {form.board().square(n).caption, form.board().square(n).backColor};
    diagram.knight = form.knightSquare();
    if (withPath)
        diagram.path = pathOf(form);
    if (!form.history().isEmpty())
        diagram.caption = form.history().size() == 1 ? DiagramText::tr("Разходка по 1 поле")
                                                     : DiagramText::tr("Разходка по %1 полета").arg(form.history().size());
    else if (!form.isEnabled(Command::Show) && form.shape() != BoardShape{})
        diagram.caption = DiagramText::tr("Обиколка на дъска %1 × %2").arg(form.shape().files).arg(form.shape().ranks);
    else if (!form.isEnabled(Command::Show))
        diagram.caption = DiagramText::tr("Обиколка „%1“").arg(QLatin1StringView(tourKindCaptions[std::size_t(form.problemIndex())]));
    else
        diagram.caption = DiagramText::tr("Кон на шахматна дъска");
    return diagram;
}

QRectF squareArea(const QRectF &board, BoardShape shape, int n)
{
    const double side = board.width() / shape.files;
    return {board.left() + side * squareColumn(n), board.top() + side * (shape.ranks - 1 - squareRow(n)), side, side};
}

void paintCoordinates(QPainter &painter, const QRectF &board, BoardShape shape, double margin, const QFont &font,
                      const QColor &color)
{
    const double side = board.width() / shape.files;
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    for (int i = 0; i < shape.files; ++i) {
        const QRectF file(board.left() + side * i, board.bottom(), side, margin);
        painter.drawText(file, Qt::AlignCenter, QString(QChar(u'a' + i)));
    }
    for (int i = 0; i < shape.ranks; ++i) {
        const QRectF rank(board.left() - margin, board.bottom() - side * (i + 1), margin, side);
        painter.drawText(rank, Qt::AlignCenter, QString::number(i + 1));
    }
    painter.restore();
}

std::array<QRectF, 2> coordinateMargins(const QRectF &board, double margin)
{
    return {QRectF(board.left() - margin, board.top(), margin, board.height()),
            QRectF(board.left(), board.bottom(), board.width(), margin)};
}

void paintFrame(QPainter &painter, const QRectF &frame, double thickness, const QColor &colour, double opening)
{
    const double t = thickness;
    painter.fillRect(QRectF(frame.left() + opening, frame.top(), frame.width() - opening, t), colour);
    painter.fillRect(QRectF(frame.left(), frame.top() + opening, t, frame.height() - opening), colour);
    painter.fillRect(QRectF(frame.right() - t, frame.top(), t, frame.height()), colour);
    painter.fillRect(QRectF(frame.left(), frame.bottom() - t, frame.width(), t), colour);
}

void paintKnightMark(QPainter &painter, const QRectF &square)
{
    const double side = square.width();
    const double inset = side * markInset;
    paintFrame(painter, square.adjusted(inset, inset, -inset, -inset), side * markThickness,
               toQColor(knightMarkColor), side * markOpening);
}

void paintStartMark(QPainter &painter, const QRectF &square)
{
    const double side = square.width();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(toQColor(startEdgeColor), side * 0.13));
    painter.drawEllipse(square.center(), side * 0.33, side * 0.33);
    painter.setPen(QPen(toQColor(startMarkColor), side * 0.07));
    painter.drawEllipse(square.center(), side * 0.33, side * 0.33);
    painter.restore();
}

namespace {

void drawKnightFigure(QPainter &painter, const QRectF &square, const QColor &colour)
{
    QFont figure(QStringLiteral("DejaVu Sans"));
    figure.setPixelSize(std::max(1, int(square.height() * knightFigureSize)));
    painter.save();
    painter.setFont(figure);
    painter.setPen(colour);
    // Lower right, clear of the move number in the upper left corner.
    painter.drawText(square.adjusted(square.width() * 0.26, square.height() * 0.2, 0, 0), Qt::AlignCenter,
                     QString(QChar(blackKnight)));
    painter.restore();
}

} // namespace

void paintKnightFigure(QPainter &painter, const QRectF &square, const QColor &colour)
{
    // On paper as a glyph; on the screen from a picture made once for its size and colour (a
    // glyph this large is filled as a path each time, the dearest part of a gallop's step).
    if (painter.paintEngine()->type() != QPaintEngine::Raster) {
        drawKnightFigure(painter, square, colour);
        return;
    }
    const QSize size = square.size().toSize();
    const QString key = QStringLiteral("knight-figure:%1x%2:%3").arg(size.width()).arg(size.height()).arg(colour.rgba());
    QPixmap figure;
    if (!QPixmapCache::find(key, &figure)) {
        figure = QPixmap(size);
        figure.fill(Qt::transparent);
        QPainter onto(&figure);
        drawKnightFigure(onto, QRectF(QPointF(0, 0), square.size()), colour);
        onto.end();
        QPixmapCache::insert(key, figure);
    }
    painter.drawPixmap(square.topLeft(), figure);
}

void paintPath(QPainter &painter, const QRectF &board, BoardShape shape, const std::vector<int> &path)
{
    if (path.empty())
        return;
    const double side = board.width() / shape.files;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(toQColor(pathColor), side * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    QPainterPath line(squareArea(board, shape, path.front()).center());
    for (std::size_t i = 1; i < path.size(); ++i)
        line.lineTo(squareArea(board, shape, path[i]).center());
    painter.drawPath(line);
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(pathColor));
    painter.drawEllipse(squareArea(board, shape, path.front()).center(), side * 0.12, side * 0.12);
    painter.restore();
}

QRectF diagramBoard(const QRectF &area, BoardShape shape)
{
    const double side = std::min(area.width() / widthUnits(shape), area.height() / heightUnits(shape));
    return {area.center().x() - side * widthUnits(shape) / 2 + side * coordinateMargin,
            area.center().y() - side * heightUnits(shape) / 2 + side * captionHeight, side * shape.files, side * shape.ranks};
}

void paintDiagram(QPainter &painter, const Diagram &diagram, const QRectF &area, const QFont &font,
                  const QRegion &only)
{
    const BoardShape shape = diagram.shape;
    const QRectF board = diagramBoard(area, shape);
    const double side = board.width() / shape.files;
    const QRectF whole(board.left() - side * coordinateMargin, board.top() - side * captionHeight,
                       side * widthUnits(shape), side * heightUnits(shape));
    // Whether a part must be painted: the bounding rectangle first, as most parts are outside it.
    const QRectF bounds = only.boundingRect();
    const auto wanted = [&only, &bounds](const QRectF &part) {
        return only.isEmpty() || (bounds.intersects(part) && only.intersects(part.toAlignedRect()));
    };

    QFont text = font;
    text.setPointSizeF(1); // replaced by a pixel size that follows the square
    text.setPixelSize(std::max(1, int(side * 0.45)));
    painter.save();
    painter.setFont(text);
    painter.setPen(Qt::black);
    const QRectF caption(whole.left(), whole.top(), whole.width(), side * captionHeight * 0.8);
    if (wanted(caption))
        painter.drawText(caption, Qt::AlignCenter, diagram.caption);
    QFont corner = text;
    corner.setPixelSize(std::max(1, int(side * cornerNumberSize)));
    // The ranks and files under the region, not all 64 squares: a gallop's tick repaints two.
    const auto within = [&](double from, double to, int count) {
        return std::pair(std::clamp(int(from / side), 0, count - 1), std::clamp(int(to / side), 0, count - 1));
    };
    const auto [firstFile, lastFile] = only.isEmpty() ? std::pair(0, shape.files - 1)
                                                      : within(bounds.left() - board.left(), bounds.right() - board.left(), shape.files);
    const auto [firstRank, lastRank] = only.isEmpty() ? std::pair(0, shape.ranks - 1)
                                                      : within(board.bottom() - bounds.bottom(), board.bottom() - bounds.top(), shape.ranks);
    for (int n = 0; n < squareCount; ++n) {
        if (squareColumn(n) < firstFile || squareColumn(n) > lastFile || squareRow(n) < firstRank || squareRow(n) > lastRank)
            continue;
        const Diagram::Cell &cell = diagram.squares[std::size_t(n)];
        const QRectF square = squareArea(board, shape, n);
        // Its inside: a neighbour's repaint reaches only the border they share, which the
        // grid paints again.
        if (!wanted(square.adjusted(side / 8, side / 8, -side / 8, -side / 8)))
            continue;
        painter.fillRect(square, toQColor(cell.color));
        painter.setPen(toQColor(cell.text));
        if (n == diagram.knight && diagram.knightFigure) {
            paintKnightFigure(painter, square, toQColor(cell.text));
            painter.setFont(corner);
            painter.drawText(square.adjusted(side * 0.08, side * 0.04, 0, 0), Qt::AlignLeft | Qt::AlignTop, cell.caption);
            painter.setFont(text);
        } else if (!cell.caption.isEmpty()) {
            painter.drawText(square, Qt::AlignCenter, cell.caption);
        }
    }
    if (diagram.knight >= 0 && !diagram.knightFigure)
        paintKnightMark(painter, squareArea(board, shape, diagram.knight));
    // The grid: every square's single-line border. On paper each square is outlined; in pixels
    // nine lines each way cover the same pixels at a fraction of the cost of 64 outlines stroked.
    const double line = std::max(1.0, side / 33);
    if (painter.paintEngine()->type() == QPaintEngine::Raster) {
        for (int i = 0; i <= std::max(shape.files, shape.ranks); ++i) {
            const QRectF across(board.left() - line / 2, board.top() + side * i - line / 2, board.width() + line, line);
            const QRectF down(board.left() + side * i - line / 2, board.top() - line / 2, line, board.height() + line);
            if (i <= shape.ranks && wanted(across))
                painter.fillRect(across, Qt::black);
            if (i <= shape.files && wanted(down))
                painter.fillRect(down, Qt::black);
        }
    } else {
        painter.setPen(QPen(Qt::black, line));
        painter.setBrush(Qt::NoBrush);
        for (int n = 0; n < squareCount; ++n) {
            if (shape.contains(n))
                painter.drawRect(squareArea(board, shape, n));
        }
    }
    for (const Diagram::Mark &mark : diagram.marks) {
        const QRectF square = squareArea(board, shape, mark.square);
        if (wanted(square))
            paintFrame(painter, square, side * markWidth, toQColor(mark.color));
    }
    if (diagram.start >= 0 && wanted(squareArea(board, shape, diagram.start)))
        paintStartMark(painter, squareArea(board, shape, diagram.start));
    paintPath(painter, board, shape, diagram.path);
    if (std::ranges::any_of(coordinateMargins(board, side * coordinateMargin), wanted))
        paintCoordinates(painter, board, shape, side * coordinateMargin, text, Qt::black);
    painter.restore();
}

} // namespace knight
