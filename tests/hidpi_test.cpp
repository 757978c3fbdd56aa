// SPDX-License-Identifier: GPL-3.0-or-later
// Run with QT_SCALE_FACTOR=2: the window keeps its layout at twice the device pixels.
#include "app/form/mainwindow.h"
#include "app/form/square_label.h"
#include "app/projector/projector.h"
#include "app/projector/projector_window.h"
#include "board/squares.h"

#include <QTest>
#include <QToolButton>
#include <QWindow>

using namespace knight;

class HiDpiTest : public QObject
{
    Q_OBJECT

private slots:
    void twiceTheDevicePixels();
    void projectorButtonsAtTwiceTheDevicePixels();
};

void HiDpiTest::twiceTheDevicePixels()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowHandle()->devicePixelRatio(), 2.0);
    QCOMPARE(window.size(), QSize(468, 463)); // the layout, in device-independent pixels

    QTest::mouseClick(window.square(squareNamed(u"d4")), Qt::LeftButton);
    const QImage image = window.grab().toImage();
    QCOMPARE(image.size(), QSize(936, 926));
    const auto at = [&image, &window](const char *name) {
        const QRect square = window.square(squareNamed(QString::fromLatin1(name)))->geometry();
        return image.pixelColor(2 * square.left() + 4, 2 * square.top() + 4);
    };
    QCOMPARE(at("a1"), QColor(101, 54, 0));
    QCOMPARE(at("h1"), QColor(250, 250, 250));
    QCOMPARE(at("d4"), QColor(0, 255, 255));
    QCOMPARE(at("f5"), QColor(0, 200, 0));
    QCOMPARE(at("h8"), QColor(101, 54, 0));
    // The border stays one device-independent pixel: two device pixels of black.
    const QRect a8 = window.square(squareNamed(u"a8"))->geometry();
    QCOMPARE(image.pixelColor(2 * a8.left(), 2 * a8.top() + 20), QColor(Qt::black));
    QCOMPARE(image.pixelColor(2 * a8.left() + 1, 2 * a8.top() + 20), QColor(Qt::black));
    QCOMPARE(image.pixelColor(2 * a8.left() + 2, 2 * a8.top() + 20), QColor(250, 250, 250));

    // Text is drawn at the device resolution: the number on d4 has solid, fully dark pixels
    // (a picture scaled up from 1x would have none inside its blurred strokes).
    const QRect d4 = window.square(squareNamed(u"d4"))->geometry();
    int dark = 0;
    for (int y = 2 * d4.top() + 4; y < 2 * d4.bottom() - 4; ++y) {
        for (int x = 2 * d4.left() + 4; x < 2 * d4.right() - 4; ++x)
            dark += image.pixelColor(x, y).lightness() < 40;
    }
    QVERIFY2(dark > 20, qPrintable(QString::number(dark)));
}

// The projector view's buttons are pictures of their look: made at the device's resolution,
// each caption stays in the middle of its button.
void HiDpiTest::projectorButtonsAtTwiceTheDevicePixels()
{
    MainWindow window;
    window.projector()->setOn(true);
    ProjectorWindow *view = window.projector()->view();
    view->showNormal();
    view->resize(1280, 720);
    QVERIFY(QTest::qWaitForWindowExposed(view));
    QToolButton *button = view->buttons().front();
    button->setEnabled(true);
    const QImage image = button->grab().toImage();
    QCOMPARE(image.size(), button->size() * 2);
    // The caption's light ink on the blue fill.
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).lightness() > 200)
                ink |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!ink.isEmpty());
    // Drawn at the device's resolution, not a picture of half the size drawn twice as large:
    // then every aligned square of two by two device pixels would be of one colour.
    int mixed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            mixed += image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p;
        }
    }
    QVERIFY2(mixed > 50, qPrintable(QString::number(mixed)));
    QVERIFY2(std::abs(ink.center().x() - image.width() / 2) < image.width() / 20, qPrintable(QString::number(ink.center().x())));
    QVERIFY2(std::abs(ink.center().y() - image.height() / 2) < image.height() / 5, qPrintable(QString::number(ink.center().y())));
}

QTEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
