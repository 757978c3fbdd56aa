// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/worksheet.h"

#include "files/file_io.h"
#include "files/file_names.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>

namespace knight {

// The texts of this file, in the language in use.
class WorksheetText
{
    Q_DECLARE_TR_FUNCTIONS(WorksheetText)
};

namespace {

constexpr double marginMillimetres = 15;
constexpr int resolution = 300; // dots an inch; text and lines stay vectors
// Light enough to write on with a pencil: the dark squares a pale grey.
const QColor lightSquare(0xFF, 0xFF, 0xFF);
const QColor darkSquare(0xE6, 0xE6, 0xE6);
const QColor gridLine(0x99, 0x99, 0x99);
const QColor coordinate(0x70, 0x70, 0x70);
const QColor ink(0x00, 0x00, 0x00);
constexpr int keyColumns = 2;
constexpr int keyRows = 3;

// Puzzle i of a request: its own seed, spread from the request's.
std::uint64_t seedOf(std::uint64_t seed, int i)
{
    std::uint64_t z = seed + std::uint64_t(i) * 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

QFont sized(QFont font, double pixels, bool bold = false)
{
    font.setPixelSize(std::max(1, int(pixels)));
    font.setBold(bold);
    return font;
}

QString fileLetter(int file)
{
    return QString(QChar(u'a' + file));
}

// The level's name, as the task line gives it.
QString levelName(Level level)
{
    switch (level) {
    case Level::Easy:
        return WorksheetText::tr("лесен");
    case Level::Medium:
        return WorksheetText::tr("среден");
    case Level::Hard:
        break;
    }
    return WorksheetText::tr("труден");
}

// The puzzle's level, told from how many numbers it gives.
Level levelOf(const Puzzle &puzzle)
{
    for (const Level level : {Level::Hard, Level::Medium}) {
        if (puzzle.givenCount() <= givenTarget(level, puzzle.squareCount()))
            return level;
    }
    return Level::Easy;
}

QString taskText(const Puzzle &puzzle)
{
    QString task = WorksheetText::tr("Впишете в празните полета числата от 1 до %1 така, че всеки две поредни "
                                     "числа да са на ход на коня едно от друго.")
                       .arg(puzzle.squareCount());
    if (puzzle.closed)
        task += u' ' + WorksheetText::tr("Обиколката е затворена: %1 е на ход на коня от 1.").arg(puzzle.squareCount());
    return task;
}

// "Име: ____" and its kin on one line across width.
void paintNameLines(QPainter &painter, const QRectF &line, const QFont &font)
{
    const std::array<std::pair<QString, double>, 3> fields{{
        {WorksheetText::tr("Име:"), 0.5}, {WorksheetText::tr("Клас:"), 0.2}, {WorksheetText::tr("Дата:"), 0.3}}};
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    double x = line.left();
    const double gap = line.height() * 0.6;
    for (const auto &[label, share] : fields) {
        const double width = line.width() * share - gap;
        painter.setPen(ink);
        painter.drawText(QRectF(x, line.top(), width, line.height()), Qt::AlignLeft | Qt::AlignBottom, label);
        const double start = x + metrics.horizontalAdvance(label) + line.height() * 0.3;
        painter.setPen(QPen(gridLine, line.height() * 0.04));
        painter.drawLine(QPointF(start, line.bottom()), QPointF(x + width, line.bottom()));
        x += width + gap;
    }
}

void paintPuzzlePage(QPainter &painter, const QRectF &page, const Puzzle &puzzle, int number, const QFont &font)
{
    const double unit = page.width() / 40; // the body text's height
    QRectF rest = page;
    painter.setPen(ink);
    painter.setFont(sized(font, unit * 1.6, true));
    const QRectF title(rest.left(), rest.top(), rest.width(), unit * 2.4);
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, WorksheetText::tr("Обиколка на коня: пъзел %1").arg(number));
    painter.setFont(sized(font, unit * 0.8));
    painter.setPen(coordinate);
    painter.drawText(title, Qt::AlignRight | Qt::AlignVCenter,
                     WorksheetText::tr("%1 × %2, %3").arg(puzzle.files).arg(puzzle.ranks).arg(levelName(levelOf(puzzle))));
    rest.setTop(title.bottom() + unit);
    paintNameLines(painter, QRectF(rest.left(), rest.top(), rest.width(), unit * 1.6), sized(font, unit));
    rest.setTop(rest.top() + unit * 3);
    painter.setFont(sized(font, unit));
    painter.setPen(ink);
    const QRectF taskArea(rest.left(), rest.top(), rest.width(), unit * 4);
    QRectF used;
    painter.drawText(taskArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, taskText(puzzle), &used);
    rest.setTop(used.bottom() + unit * 1.5);
    paintPuzzleBoard(painter, rest, puzzle, false, font);
}

void paintKeyPage(QPainter &painter, const QRectF &page, const std::vector<Puzzle> &puzzles, int first,
                  const QFont &font)
{
    const double unit = page.width() / 40;
    painter.setPen(ink);
    painter.setFont(sized(font, unit * 1.6, true));
    const QRectF title(page.left(), page.top(), page.width(), unit * 2.4);
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, WorksheetText::tr("Отговори"));
    const QRectF grid(page.left(), title.bottom() + unit, page.width(), page.bottom() - title.bottom() - unit);
    const double cellWidth = grid.width() / keyColumns;
    const double cellHeight = grid.height() / keyRows;
    for (int i = first; i < std::min<int>(int(puzzles.size()), first + keyColumns * keyRows); ++i) {
        const int place = i - first;
        const QRectF cell(grid.left() + cellWidth * (place % keyColumns), grid.top() + cellHeight * (place / keyColumns),
                          cellWidth, cellHeight);
        const QRectF caption(cell.left(), cell.top(), cell.width(), unit * 1.5);
        painter.setPen(ink);
        painter.setFont(sized(font, unit, true));
        painter.drawText(caption, Qt::AlignHCenter | Qt::AlignVCenter, WorksheetText::tr("Пъзел %1").arg(i + 1));
        const QRectF board = cell.adjusted(unit, caption.height(), -unit, -unit);
        paintPuzzleBoard(painter, board, puzzles[std::size_t(i)], true, font);
    }
}

} // namespace

std::optional<Puzzle> worksheetPuzzle(const WorksheetRequest &request, int i)
{
    return generatePuzzle(request.files, request.ranks, request.level, seedOf(request.seed, i), request.closed);
}

std::vector<Puzzle> worksheetPuzzles(const WorksheetRequest &request)
{
    std::vector<Puzzle> puzzles;
    for (int i = 0; i < request.count; ++i) {
        std::optional<Puzzle> puzzle = worksheetPuzzle(request, i);
        if (!puzzle)
            return {};
        puzzles.push_back(std::move(*puzzle));
    }
    return puzzles;
}

void paintPuzzleBoard(QPainter &painter, const QRectF &area, const Puzzle &puzzle, bool solved, const QFont &font)
{
    // The coordinates take a margin of half a square left of the board and below it.
    const double side = std::min(area.width() / (puzzle.files + 0.6), area.height() / (puzzle.ranks + 0.6));
    const QRectF board(area.left() + (area.width() - side * (puzzle.files + 0.6)) / 2 + side * 0.6, area.top(),
                       side * puzzle.files, side * puzzle.ranks);
    std::vector<int> numbers(std::size_t(puzzle.squareCount()), 0);
    for (std::size_t step = 0; step < puzzle.solution.size(); ++step)
        numbers[std::size_t(puzzle.solution[step])] = int(step) + 1;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int n = 0; n < puzzle.squareCount(); ++n) {
        const int file = n % puzzle.files;
        const int rank = n / puzzle.files;
        const QRectF square(board.left() + side * file, board.bottom() - side * (rank + 1), side, side);
        painter.fillRect(square, (file + rank) % 2 == 0 ? darkSquare : lightSquare);
        const int given = puzzle.given[std::size_t(n)];
        const int shown = given != 0 ? given : solved ? numbers[std::size_t(n)] : 0;
        if (shown == 0)
            continue;
        painter.setPen(ink);
        painter.setFont(sized(font, side * 0.42, given != 0));
        painter.drawText(square, Qt::AlignCenter, QString::number(shown));
    }
    painter.setPen(QPen(gridLine, std::max(1.0, side / 60)));
    painter.setBrush(Qt::NoBrush);
    for (int file = 0; file <= puzzle.files; ++file)
        painter.drawLine(QPointF(board.left() + side * file, board.top()), QPointF(board.left() + side * file, board.bottom()));
    for (int rank = 0; rank <= puzzle.ranks; ++rank)
        painter.drawLine(QPointF(board.left(), board.top() + side * rank), QPointF(board.right(), board.top() + side * rank));
    painter.setPen(coordinate);
    painter.setFont(sized(font, side * 0.3));
    for (int file = 0; file < puzzle.files; ++file)
        painter.drawText(QRectF(board.left() + side * file, board.bottom(), side, side * 0.6), Qt::AlignCenter, fileLetter(file));
    for (int rank = 0; rank < puzzle.ranks; ++rank)
        painter.drawText(QRectF(board.left() - side * 0.6, board.bottom() - side * (rank + 1), side * 0.6, side),
                         Qt::AlignCenter, QString::number(rank + 1));
    painter.restore();
}

QByteArray worksheetPdf(const std::vector<Puzzle> &puzzles, const QFont &font, const QPageSize &page)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(page);
    writer.setResolution(resolution);
    writer.setPageMargins(QMarginsF(marginMillimetres, marginMillimetres, marginMillimetres, marginMillimetres),
                          QPageLayout::Millimeter);
    writer.setTitle(WorksheetText::tr("Обиколка на коня: работен лист"));
    writer.setCreator(QStringLiteral("knight-tour"));
    QPainter painter(&writer);
    const QRectF area(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    bool first = true;
    const auto nextPage = [&] {
        if (!first)
            writer.newPage();
        first = false;
    };
    for (std::size_t i = 0; i < puzzles.size(); ++i) {
        nextPage();
        paintPuzzlePage(painter, area, puzzles[i], int(i) + 1, font);
    }
    for (int i = 0; i < int(puzzles.size()); i += keyColumns * keyRows) {
        nextPage();
        paintKeyPage(painter, area, puzzles, i, font);
    }
    painter.end();
    return bytes;
}

QString worksheetNameProblem(const QString &path)
{
    if (path.endsWith(QLatin1StringView(".pdf"), Qt::CaseInsensitive))
        return {};
    return WorksheetText::tr("„%1“: работният лист може да е само .pdf").arg(shownText(path));
}

QString writeWorksheet(const QString &path, const std::vector<Puzzle> &puzzles, const QFont &font,
                       const QPageSize &page)
{
    if (const QString problem = worksheetNameProblem(path); !problem.isEmpty())
        return problem;
    // Drawn whole in memory first: a writer that fails half-way cannot touch the file.
    const QByteArray bytes = worksheetPdf(puzzles, font, page);
    if (const QString problem = writeFileAtomically(path, bytes); !problem.isNull())
        return WorksheetText::tr("„%1“ не може да се запише: %2").arg(shownText(path), problem);
    return {};
}

} // namespace knight
