// SPDX-License-Identifier: GPL-3.0-or-later
// The board as a diagram: coordinates in the margins, the knight's mark, the path, and the
// pictures written to PNG and PDF. Run at scale factors 1 and 2.
#include "app/form/mainwindow.h"
#include "app/features/pictures.h"
#include "app/features/path_overlay.h"
#include "app/form/square_label.h"
#include "notation/walk_notation.h"
#include "picture/export.h"
#include "picture/qt_color.h"
#include "image_support.h"
#include "test_support.h"
#include "window_support.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QImage>
#include <QPlainTextEdit>
#include <QtEndian>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QRegularExpression>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

// The window as painted, in device-independent pixels whatever the scale.
QImage painted(MainWindow &window)
{
    QImage image = window.grab().toImage();
    return image.scaled(window.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage deviceImage(MainWindow &window)
{
    return window.grab().toImage();
}

QRect changedArea(const QImage &a, const QImage &b)
{
    return pixelsWhere(a.rect(), [&](QPoint p) { return a.pixel(p) != b.pixel(p); }).bounds;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The PDF's content streams, inflated where they are compressed.
QByteArray pdfDrawing(const QByteArray &pdf)
{
    QByteArray content;
    for (qsizetype at = pdf.indexOf("stream"); at >= 0; at = pdf.indexOf("stream", at + 1)) {
        const qsizetype start = pdf.indexOf('\n', at) + 1;
        const qsizetype end = pdf.indexOf("endstream", start);
        if (end < 0)
            break;
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(8 * 1024 * 1024, sized.data());
        const QByteArray inflated = qUncompress(sized + pdf.mid(start, end - start));
        content += inflated.isEmpty() ? pdf.mid(start, end - start) : inflated;
        at = end;
    }
    return content;
}

// Which of the texts, drawn centred in the logical rectangle with the font, leaves the ink
// that the window's picture shows there (with against without its coordinates).
int bestMatch(const QImage &with, const QImage &without, const QRectF &logical, qreal scale, const QFont &font,
              const QStringList &texts)
{
    const QRect device = QRectF(logical.topLeft() * scale, logical.size() * scale).toAlignedRect();
    int best = -1;
    qint64 bestDifference = -1;
    for (int i = 0; i < texts.size(); ++i) {
        QImage drawn(device.size(), QImage::Format_ARGB32);
        drawn.setDevicePixelRatio(scale);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.translate(-QPointF(device.topLeft()) / scale);
        painter.drawText(logical, Qt::AlignCenter, texts[i]);
        painter.end();
        qint64 difference = 0;
        for (int y = 0; y < device.height(); ++y) {
            for (int x = 0; x < device.width(); ++x) {
                const QPoint at = device.topLeft() + QPoint(x, y);
                const bool ink = with.pixel(at) != without.pixel(at);
                difference += ink != (drawn.pixel(x, y) != qRgb(255, 255, 255));
            }
        }
        if (best < 0 || difference < bestDifference) {
            best = i;
            bestDifference = difference;
        }
    }
    return best;
}

bool isDarkBlue(QColor c)
{
    return c.blue() > 90 && c.red() < 90 && c.green() < 90;
}

} // namespace

class PictureTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void coordinatesStandInTheMarginsOnly();
    void theKnightsSquareIsMarked();
    void thePathJoinsTheCentresAndTakesNoClicks();
    void pngPicture();
    void everyBoardIsPaintedWithItsOwnSquares();
    void pdfPictureIsVectorOnAPage();
    void printingPaintsTheSameDiagram();

private:
    qreal scale = 1;
};

void PictureTest::initTestCase()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    scale = window.windowHandle()->devicePixelRatio();
}

void PictureTest::coordinatesStandInTheMarginsOnly()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.action(ActionId::Coordinates)->isChecked());
    const QImage with = deviceImage(window);
    window.action(ActionId::Coordinates)->trigger();
    QVERIFY(!window.pictures()->coordinatesShown());
    const QImage without = deviceImage(window);
    // Every changed pixel is left of the board or between it and the text box.
    const QRectF board = window.boardArea();
    const QRect left = QRectF(0, board.top(), board.left(), board.height()).toRect();
    const QRect below = QRectF(board.left(), board.bottom(), board.width(), window.textBox()->y() - board.bottom()).toRect();
    int changed = 0;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) == without.pixel(x, y))
                continue;
            ++changed;
            const QPoint logical(int(x / scale), int(y / scale));
            QVERIFY2(left.contains(logical) || below.contains(logical),
                     qPrintable(u"a coordinate pixel at %1,%2"_s.arg(logical.x()).arg(logical.y())));
        }
    }
    QVERIFY(changed > 100);
    // Each letter is centred on its file, each digit on its rank, and it is the right one.
    const double side = board.width() / 8;
    const double margin = side * coordinateMargin;
    for (int i = 0; i < 8; ++i) {
        const QRectF fileBand(board.left() + side * i, board.bottom(), side, margin);
        const QRectF rankBand(board.left() - margin, board.bottom() - side * (i + 1), margin, side);
        QCOMPARE(bestMatch(with, without, fileBand, scale, window.font(), u"a b c d e f g h"_s.split(u' ')), i);
        QCOMPARE(bestMatch(with, without, rankBand, scale, window.font(), u"1 2 3 4 5 6 7 8"_s.split(u' ')), i);
        const auto centreOf = [&](QRectF band) {
            const QRect area = changedArea(with.copy(QRectF(band.topLeft() * scale, band.size() * scale).toRect()),
                                           without.copy(QRectF(band.topLeft() * scale, band.size() * scale).toRect()));
            return band.topLeft() + QRectF(area).center() / scale;
        };
        const QPointF letter = centreOf(QRectF(board.left() + side * i, board.bottom(), side, below.height()));
        QVERIFY2(std::abs(letter.x() - (board.left() + side * (i + 0.5))) <= 2.5, qPrintable(QString::number(letter.x())));
        const QPointF digit = centreOf(QRectF(0, board.bottom() - side * (i + 1), board.left(), side));
        QVERIFY2(std::abs(digit.y() - (board.bottom() - side * (i + 0.5))) <= 2.5, qPrintable(QString::number(digit.y())));
    }
}

void PictureTest::theKnightsSquareIsMarked()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clickSquares(window, u"d4 f5"_s);
    const auto check = [&](const char *name, bool knight) {
        const QImage image = painted(window);
        const QRect square = window.square(squareNamed(QString::fromLatin1(name)))->geometry();
        int red = 0;
        for (int y = 1; y < square.height() - 1; ++y) {
            for (int x = 1; x < square.width() - 1; ++x) {
                const QColor c = image.pixelColor(square.topLeft() + QPoint(x, y));
                red += c.red() > 150 && c.green() < 60 && c.blue() < 60;
                if (x <= 10 && y <= 10)
                    QCOMPARE(c, QColor(0, 255, 255)); // the corner shows the square's own colour
            }
        }
        QCOMPARE(red > 20, knight);
        QCOMPARE(image.pixelColor(square.center() + QPoint(-8, 0)), QColor(0, 255, 255));
    };
    check("f5", true);
    check("d4", false);
    window.Command1_Click(int(Command::MoveBack));
    check("d4", true);
    window.Command1_Click(int(Command::Clear));
    const QImage image = painted(window);
    for (int n = 0; n < squareCount; ++n) {
        const QColor c = image.pixelColor(window.square(n)->geometry().topLeft() + QPoint(30, 16));
        QVERIFY(!(c.red() > 150 && c.green() < 60));
    }
}

void PictureTest::thePathJoinsTheCentresAndTakesNoClicks()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.pictures()->pathOverlay()->isVisible());
    clickSquares(window, u"a1 b3 d4"_s);
    window.action(ActionId::Path)->trigger();
    QVERIFY(window.pictures()->pathOverlay()->isVisible());
    const auto centre = [&](const char *name) {
        return QRectF(window.square(squareNamed(QString::fromLatin1(name)))->geometry()).center();
    };
    const auto onLine = [&](QPointF from, QPointF to, double t) {
        const QPointF point = from + (to - from) * t;
        return deviceImage(window).pixelColor((point * scale).toPoint());
    };
    for (const double t : {0.3, 0.5, 0.7}) {
        QVERIFY(isDarkBlue(onLine(centre("a1"), centre("b3"), t)));
        QVERIFY(isDarkBlue(onLine(centre("b3"), centre("d4"), t)));
    }
    QVERIFY(!isDarkBlue(onLine(centre("a1"), centre("d4"), 0.5))); // no line a1 to d4
    // The dot marks the start, a1, and not the end: beside the line, within the dot's radius.
    const double side = window.boardArea().width() / 8;
    const auto besideLine = [&](QPointF at, QPointF along) {
        const QPointF direction = along - at;
        const QPointF across = QPointF(-direction.y(), direction.x()) / std::hypot(direction.x(), direction.y());
        return deviceImage(window).pixelColor(((at + across * side * 0.09) * scale).toPoint());
    };
    QVERIFY(isDarkBlue(besideLine(centre("a1"), centre("b3"))));
    QVERIFY(!isDarkBlue(besideLine(centre("d4"), centre("b3"))));
    // Antialiased: inside a2 the line's edges blend into the square's light colour.
    const QPoint inA2 = ((centre("a1") + (centre("b3") - centre("a1")) * 0.35) * scale).toPoint();
    const QImage image = deviceImage(window);
    int blended = 0;
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            const QColor c = image.pixelColor(inA2 + QPoint(dx, dy));
            blended += c != QColor(0, 0, 160) && c != QColor(250, 250, 250) && c.blue() > c.red() + 20;
        }
    }
    QVERIFY(blended >= 2);

    // A click on the line reaches the square below it: f5, whose centre the path will cross.
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centre("f5").toPoint());
    QCOMPARE(window.form().history().size(), 4);
    QCOMPARE(window.pictures()->pathOverlay()->path().size(), std::size_t(4));

    // A shown tour, and the gallop up to its step.
    window.Command1_Click(int(Command::Show));
    QCOMPARE(window.pictures()->pathOverlay()->path().size(), std::size_t(64));
    window.Command1_Click(int(Command::Gallop));
    for (int i = 0; i < 5; ++i)
        window.Timer1_Timer();
    QCOMPARE(window.pictures()->pathOverlay()->path().size(), std::size_t(5));
    window.action(ActionId::Path)->trigger();
    QVERIFY(!window.pictures()->pathOverlay()->isVisible());
}

void PictureTest::pngPicture()
{
    QTemporaryDir dir;
    MainWindow window;
    clickSquares(window, u"a1 b3"_s);
    const QString path = dir.filePath(u"board.png"_s);
    QVERIFY(window.pictures()->exportTo(path));
    QImage image(path);
    QCOMPARE(image.size(), QSize(900, 960));
    // 100-pixel squares from (70, 90): a1 visited, b3 the knight's (its corner cyan), c2 green.
    const auto at = [&](int file, int rank, QPoint offset) {
        return image.pixelColor(QPoint(70 + 100 * file, 90 + 100 * (7 - rank)) + offset);
    };
    QCOMPARE(at(0, 0, {10, 10}), QColor(0, 255, 255));
    QCOMPARE(at(1, 2, {10, 10}), QColor(0, 255, 255));
    QCOMPARE(at(2, 0, {10, 10}), QColor(0, 200, 0));
    QCOMPARE(at(7, 7, {10, 10}), QColor(101, 54, 0));
    QCOMPARE(at(7, 6, {10, 10}), QColor(250, 250, 250));
    // The caption is written above the board: dark pixels in its band.
    QVERIFY(pixelsWhere(QRect(0, 0, 900, 80), [&](QPoint p) { return qGray(image.pixel(p)) < 100; }).count > 200);
    QCOMPARE(window.pictures()->diagram().caption, u"Разходка по 2 полета"_s);
}

// On every board the picture has the board's squares only, as large as its width allows, and
// the window's path joins the board's own squares.
void PictureTest::everyBoardIsPaintedWithItsOwnSquares()
{
    QTemporaryDir dir;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const BoardShape shape : offeredShapes) {
        window.setBoardShape(shape);
        clickSquares(window, u"a1 b3"_s);
        const QString path = dir.filePath(u"board.png"_s);
        QVERIFY(window.pictures()->exportTo(path));
        const QImage image(path);
        // Squares of 900 / (files + 1) pixels: 0.7 of one left of the board for the ranks,
        // 0.3 right of it, 0.9 above for the caption, 0.7 below for the files.
        const double side = 900.0 / (shape.files + 1);
        const QString name = u"%1 x %2"_s.arg(shape.files).arg(shape.ranks);
        QVERIFY2(std::abs(image.height() - side * (shape.ranks + 1.6)) <= 1, qPrintable(name));
        const auto at = [&](int file, int rank) {
            return image.pixelColor(QPointF(side * (0.7 + file) + 5, side * (0.9 + shape.ranks - 1 - rank) + 5).toPoint());
        };
        for (int n = 0; n < squareCount; ++n) {
            if (!shape.contains(n))
                continue;
            const Color expected = n == squareNamed(u"a1"_s) || n == squareNamed(u"b3"_s) ? visitedColor
                                 : isKnightMove(n, squareNamed(u"b3"_s))                  ? reachableColor
                                                                                         : baseColor(n);
            QVERIFY2(at(squareColumn(n), squareRow(n)) == toQColor(expected), qPrintable(name + u' ' + chessName(n)));
        }
        // Right of the board, on its ranks, nothing but the paper.
        QVERIFY2(at(shape.files, 0) == QColor(Qt::white) || shape.files == 8, qPrintable(name));
        window.pictures()->setPathShown(true);
        const QPointF a1 = QRectF(window.square(squareNamed(u"a1"_s))->geometry()).center();
        const QPointF b3 = QRectF(window.square(squareNamed(u"b3"_s))->geometry()).center();
        QVERIFY2(isDarkBlue(deviceImage(window).pixelColor((((a1 + b3) / 2) * scale).toPoint())), qPrintable(name));
        window.pictures()->setPathShown(false);
        window.Command1_Click(int(Command::Clear));
    }
}

void PictureTest::pdfPictureIsVectorOnAPage()
{
    QTemporaryDir dir;
    MainWindow window;
    window.Command1_Click(int(Command::Show));
    const QString path = dir.filePath(u"tour.pdf"_s);
    QVERIFY(window.pictures()->exportTo(path));
    const QByteArray pdf = readFile(path);
    QVERIFY(pdf.startsWith("%PDF"));
    // Tests run in the C locale, whose measures are metric: an A4 page.
    QVERIFY2(pdf.contains("/MediaBox [0 0 595.000000 842.000000]"), pdf.left(2000).constData());
    QVERIFY(!pdf.contains("/Subtype /Image"));
    // The page's drawing: rectangles and lines as path operators.
    const QByteArray content = pdfDrawing(pdf);
    QVERIFY(content.contains(" re") || content.contains(" l\n") || content.contains(" l "));
    QVERIFY(content.count(" re") + content.count(" l") > 64);
    // A bad name writes nothing.
    QVERIFY(!window.pictures()->exportTo(dir.filePath(u"tour.jpeg"_s)));
    QVERIFY(!QFile::exists(dir.filePath(u"tour.jpeg"_s)));

    // Saved through the dialog: "дъска.png" offered; a name typed bare after choosing PDF is a PDF.
    QString offered;
    QTimer::singleShot(50, &window, [&] {
        auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(files);
        auto *name = files->findChild<QLineEdit *>(u"fileNameEdit"_s);
        offered = name->text();
        files->setDirectory(dir.path());
        QTest::keyClick(files->findChild<QComboBox *>(u"fileTypeCombo"_s), Qt::Key_Down); // as a user picks it
        name->setText(u"bare"_s);
        QMetaObject::invokeMethod(files, "accept");
    });
    window.action(ActionId::ExportPicture)->trigger();
    QCOMPARE(offered, u"дъска.png"_s);
    QVERIFY(readFile(dir.filePath(u"bare.pdf"_s)).startsWith("%PDF"));
}

void PictureTest::printingPaintsTheSameDiagram()
{
    QTemporaryDir dir;
    MainWindow window;
    clickSquares(window, u"e4 f6"_s);
    window.action(ActionId::Path)->trigger();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(u"printed.pdf"_s));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    window.pictures()->printTo(printer);
    const QByteArray printed = readFile(dir.filePath(u"printed.pdf"_s));
    QVERIFY(printed.contains("/MediaBox [0 0 612.000000 792.000000]"));
    QVERIFY(!printed.contains("/Subtype /Image"));
    // The same squares, grid and path as the exported picture of the same board.
    QVERIFY(window.pictures()->exportTo(dir.filePath(u"exported.pdf"_s)));
    const QByteArray exported = pdfDrawing(readFile(dir.filePath(u"exported.pdf"_s)));
    const QByteArray drawn = pdfDrawing(printed);
    QVERIFY(drawn.count(" re") >= 128); // 64 squares filled and 64 framed
    QCOMPARE(drawn.count(" re"), exported.count(" re"));
    QCOMPARE(drawn.count(" l\n") + drawn.count(" l "), exported.count(" l\n") + exported.count(" l "));

    // "Печат…" offers a printer whose job is named by the diagram's caption.
    QString docName;
    QTimer::singleShot(0, &window, [&docName] {
        if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
            docName = dialog->printer()->docName();
            dialog->reject();
        }
    });
    window.action(ActionId::Print)->trigger();
    QCOMPARE(docName, window.pictures()->diagram().caption);
    QVERIFY(!docName.isEmpty());
}

QTEST_MAIN(PictureTest)
#include "picture_test.moc"
