// SPDX-License-Identifier: GPL-3.0-or-later
// Run with QT_SCALE_FACTOR=2: the window keeps its layout at twice the device pixels.
#include "app/form/mainwindow.h"
#include "app/form/square_label.h"
#include "app/projector/projector.h"
#include "app/projector/projector_window.h"
#include "board/squares.h"
#include "image_support.h"

#include <QTest>
#include <QToolButton>
#include <QWindow>

using namespace knight;
using knight::test::pixelsWhere;

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
    const QRect inside(2 * d4.topLeft() + QPoint(4, 4), 2 * d4.bottomRight() - QPoint(5, 5));
    const int dark = pixelsWhere(inside, [&](QPoint p) { return image.pixelColor(p).lightness() < 40; }).count;
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
    const QRect ink = pixelsWhere(image.rect(), [&](QPoint p) { return image.pixelColor(p).lightness() > 200; }).bounds;
    QVERIFY(!ink.isEmpty());
    // Drawn at the device's resolution, not a picture of half the size drawn twice as large:
    // then every aligned square of two by two device pixels would be of one colour.
    const int mixed = pixelsWhere(QRect(0, 0, image.width() / 2, image.height() / 2), [&](QPoint half) {
        const QPoint p = 2 * half;
        const QRgb c = image.pixel(p);
        return image.pixel(p + QPoint(1, 0)) != c || image.pixel(p + QPoint(0, 1)) != c || image.pixel(p + QPoint(1, 1)) != c;
    }).count;
    QVERIFY2(mixed > 50, qPrintable(QString::number(mixed)));
    QVERIFY2(std::abs(ink.center().x() - image.width() / 2) < image.width() / 20, qPrintable(QString::number(ink.center().x())));
    QVERIFY2(std::abs(ink.center().y() - image.height() / 2) < image.height() / 5, qPrintable(QString::number(ink.center().y())));
}

QTEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
