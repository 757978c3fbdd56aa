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

// The level's name, as the dialog and --level give it.
QString levelName(Level level)
{
    switch (level) {
    case Level::Easy:
        return WorksheetText::tr("лесно");
    case Level::Medium:
        return WorksheetText::tr("средно");
    case Level::Hard:
        break;
    }
    return WorksheetText::tr("трудно");
}

// The rule in words a pupil who does not play chess reads alone, beside a drawing of the move.
QString taskText(const Puzzle &puzzle)
{
    QString task = WorksheetText::tr("Впишете липсващите числа в празните полета. Всяко число от 1 до %1 стои "
                                     "точно веднъж, а всяко следващо число е на един ход на коня от предишното. "
                                     "Конят се движи като буквата Г: две полета напред и едно встрани, както на "
                                     "рисунката.")
                       .arg(puzzle.squareCount());
    if (puzzle.closed)
        task += u' ' + WorksheetText::tr("Обиколката е затворена: от %1 конят стига с един ход до 1.").arg(puzzle.squareCount());
    return task;
}

// A small board with the knight in the middle and the eight squares it reaches marked.
void paintKnightMove(QPainter &painter, const QRectF &area, const QFont &font)
{
    constexpr int cells = 5;
    const double caption = area.height() * 0.24;
    const double side = std::min(area.width(), area.height() - caption) / cells;
    const QRectF grid(area.left() + (area.width() - side * cells) / 2, area.top(), side * cells, side * cells);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < cells; ++row) {
        for (int column = 0; column < cells; ++column) {
            const QRectF square(grid.left() + side * column, grid.top() + side * row, side, side);
            painter.fillRect(square, (row + column) % 2 == 0 ? darkSquare : lightSquare);
            const int across = std::abs(column - 2), along = std::abs(row - 2);
            painter.setPen(QPen(ink, side * 0.08));
            if (across == 0 && along == 0) {
                painter.setBrush(ink);
                painter.drawEllipse(square.center(), side * 0.32, side * 0.32);
            } else if (across * along == 2) {
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(square.center(), side * 0.25, side * 0.25);
            }
        }
    }
    painter.setPen(QPen(gridLine, std::max(1.0, side / 40)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(grid);
    painter.setPen(ink);
    painter.setFont(sized(font, caption * 0.4));
    painter.drawText(QRectF(area.left(), grid.bottom() + caption * 0.05, area.width(), caption),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, WorksheetText::tr("● конят, ○ където стига"));
    painter.restore();
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

// The set's name and the puzzle's place in it, on every page: the sheets can be made again.
QString placeInSet(const WorksheetRequest &request, int number, int total)
{
    return WorksheetText::tr("%1 — пъзел %2 от %3").arg(worksheetSetName(request)).arg(number).arg(total);
}

void paintPuzzlePage(QPainter &painter, const QRectF &page, const WorksheetRequest &request, const Puzzle &puzzle,
                     int number, int total, const QFont &font)
{
    const double unit = page.width() / 40; // the body text's height
    QRectF rest = page;
    painter.setPen(coordinate);
    painter.setFont(sized(font, unit * 0.8));
    const QRectF setLine(rest.left(), rest.top(), rest.width(), unit * 1.2);
    painter.drawText(setLine, Qt::AlignRight | Qt::AlignVCenter, placeInSet(request, number, total));
    painter.setPen(ink);
    painter.setFont(sized(font, unit * 1.6, true));
    const QRectF title(rest.left(), setLine.bottom(), rest.width(), unit * 2.4);
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, WorksheetText::tr("Обиколка на коня: пъзел %1").arg(number));
    rest.setTop(title.bottom() + unit);
    paintNameLines(painter, QRectF(rest.left(), rest.top(), rest.width(), unit * 1.6), sized(font, unit));
    rest.setTop(rest.top() + unit * 3);
    painter.setFont(sized(font, unit));
    painter.setPen(ink);
    const double drawing = unit * 9;
    const QRectF taskArea(rest.left(), rest.top(), rest.width() - drawing - unit, unit * 8);
    QRectF used;
    painter.drawText(taskArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, taskText(puzzle), &used);
    paintKnightMove(painter, QRectF(rest.right() - drawing, rest.top(), drawing, drawing), font);
    rest.setTop(std::max(used.bottom(), rest.top() + drawing) + unit * 1.5);
    paintPuzzleBoard(painter, rest, puzzle, false, font);
}

void paintKeyPage(QPainter &painter, const QRectF &page, const WorksheetRequest &request,
                  const std::vector<Puzzle> &puzzles, int first, const QFont &font)
{
    const double unit = page.width() / 40;
    painter.setPen(ink);
    painter.setFont(sized(font, unit * 1.6, true));
    const QRectF title(page.left(), page.top(), page.width(), unit * 2.4);
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                     WorksheetText::tr("Отговори: %1").arg(worksheetSetName(request)));
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

// A PDF of pages, each painted by paint(painter, area, page index).
template<typename Paint>
QByteArray pdfOf(const QString &title, int pages, const QPageSize &page, Paint paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(page);
    writer.setResolution(resolution);
    writer.setPageMargins(QMarginsF(marginMillimetres, marginMillimetres, marginMillimetres, marginMillimetres),
                          QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("knight-tour"));
    QPainter painter(&writer);
    const QRectF area(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        paint(painter, area, i);
    }
    painter.end();
    return bytes;
}

// The board's turns and mirror images, as maps of square n to its image.
std::vector<std::vector<int>> symmetries(int files, int ranks)
{
    std::vector<std::vector<int>> maps;
    const int turns = files == ranks ? 8 : 4;
    for (int k = 0; k < turns; ++k) {
        std::vector<int> map(std::size_t(files * ranks));
        for (int n = 0; n < files * ranks; ++n) {
            int file = n % files, rank = n / files;
            if (k & 1)
                file = files - 1 - file;
            if (k & 2)
                rank = ranks - 1 - rank;
            map[std::size_t(n)] = k & 4 ? file * files + rank : rank * files + file; // k & 4: across the diagonal
        }
        maps.push_back(std::move(map));
    }
    return maps;
}

} // namespace

QString worksheetSetName(const WorksheetRequest &request)
{
    return (request.closed ? WorksheetText::tr("%1 × %2, %3, затворени обиколки, серия %4")
                           : WorksheetText::tr("%1 × %2, %3, серия %4"))
        .arg(request.files)
        .arg(request.ranks)
        .arg(levelName(request.level))
        .arg(request.seed);
}

std::vector<int> symmetryKey(const Puzzle &puzzle)
{
    std::vector<int> key;
    for (const std::vector<int> &map : symmetries(puzzle.files, puzzle.ranks)) {
        std::vector<int> image(puzzle.given.size());
        for (std::size_t n = 0; n < map.size(); ++n)
            image[std::size_t(map[n])] = puzzle.given[n];
        if (key.empty() || image < key)
            key = std::move(image);
    }
    return key;
}

std::optional<Puzzle> WorksheetMaker::next()
{
    // So many repeats in a row and the board is taken to have no other puzzle of the level.
    constexpr int repeatsGivingUp = 500;
    if (made_ >= request_.count)
        return std::nullopt;
    for (int repeats = 0; repeats < repeatsGivingUp; ++repeats) {
        std::optional<Puzzle> puzzle = generatePuzzle(request_.files, request_.ranks, request_.level,
                                                      seedOf(request_.seed, seeds_++), request_.closed);
        if (!puzzle)
            return std::nullopt;
        std::vector<int> key = symmetryKey(*puzzle);
        if (std::find(seen_.begin(), seen_.end(), key) != seen_.end())
            continue;
        seen_.push_back(std::move(key));
        ++made_;
        return puzzle;
    }
    return std::nullopt;
}

std::vector<Puzzle> worksheetPuzzles(const WorksheetRequest &request)
{
    std::vector<Puzzle> puzzles;
    WorksheetMaker maker(request);
    while (std::optional<Puzzle> puzzle = maker.next())
        puzzles.push_back(std::move(*puzzle));
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

QByteArray worksheetPdf(const WorksheetRequest &request, const std::vector<Puzzle> &puzzles, const QFont &font,
                        const QPageSize &page)
{
    const int total = int(puzzles.size());
    return pdfOf(WorksheetText::tr("Обиколка на коня: работен лист, %1").arg(worksheetSetName(request)), total, page,
                 [&](QPainter &painter, const QRectF &area, int i) {
                     paintPuzzlePage(painter, area, request, puzzles[std::size_t(i)], i + 1, total, font);
                 });
}

QByteArray worksheetKeyPdf(const WorksheetRequest &request, const std::vector<Puzzle> &puzzles, const QFont &font,
                           const QPageSize &page)
{
    constexpr int perPage = keyColumns * keyRows;
    return pdfOf(WorksheetText::tr("Обиколка на коня: отговори, %1").arg(worksheetSetName(request)),
                 (int(puzzles.size()) + perPage - 1) / perPage, page, [&](QPainter &painter, const QRectF &area, int i) {
                     paintKeyPage(painter, area, request, puzzles, i * perPage, font);
                 });
}

QString worksheetKeyPath(const QString &path)
{
    return path.left(path.size() - 4) + WorksheetText::tr("-отговори") + path.right(4);
}

QString worksheetNameProblem(const QString &path)
{
    if (path.endsWith(QLatin1StringView(".pdf"), Qt::CaseInsensitive))
        return {};
    return WorksheetText::tr("„%1“: работният лист може да е само .pdf").arg(shownText(path));
}

QString writeWorksheet(const QString &path, const WorksheetRequest &request, const std::vector<Puzzle> &puzzles,
                       const QFont &font, const QPageSize &page)
{
    if (const QString problem = worksheetNameProblem(path); !problem.isEmpty())
        return problem;
    // Drawn whole in memory first: a writer that fails half-way cannot touch the files.
    const QByteArray sheets = worksheetPdf(request, puzzles, font, page);
    const QByteArray key = worksheetKeyPdf(request, puzzles, font, page);
    if (const QString problem = writeFilesAtomically({{worksheetKeyPath(path), key}, {path, sheets}}); !problem.isNull())
        return WorksheetText::tr("„%1“ не може да се запише: %2").arg(shownText(path), problem);
    return {};
}

} // namespace knight
