// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/squares.h"
#include "projector_look/projector_look.h"
#include "test_support.h"
#include "tours/knight_form.h"
#include "walk/knight.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

constexpr double readable = 4.5;

using Form = TestForm;

// A walk of random legal moves, as long as chance and the board allow.
void randomWalk(Form &form, QRandomGenerator &random, int moves)
{
    form.Label2_Click(random.bounded(squareCount));
    for (int i = 1; i < moves; ++i) {
        QList<int> green;
        for (int n = 0; n < squareCount; ++n) {
            if (form.board().square(n).backColor == reachableColor)
                green.append(n);
        }
        if (green.isEmpty())
            return;
        form.Label2_Click(green.at(random.bounded(int(green.size()))));
    }
}

Diagram viewOf(const KnightForm &form, const ProjectorMarks &marks = {})
{
    return projectorDiagram(diagramOf(form, false), form, marks);
}

} // namespace

class ProjectorTest : public QObject
{
    Q_OBJECT

private slots:
    void contrastFollowsTheWcagFormula();
    void everyTextTheViewCanShowIsReadable();
    void squaresKeepTheirMeaning();
    void theKnightStandsWhereTheGallopIs();
    void theStatusTellsMoveTourAndGallop();
    void noStatusLineIsWiderThanTheCandidates();
};

void ProjectorTest::contrastFollowsTheWcagFormula()
{
    // Values any WCAG contrast checker gives.
    const struct {
        Color a, b;
        double ratio;
    } known[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {255, 255, 255}, 1.0},
        {{119, 119, 119}, {255, 255, 255}, 4.48},
        {{0, 0, 255}, {255, 255, 255}, 8.59},
        {{255, 0, 0}, {0, 0, 0}, 5.25},
        {{0, 128, 0}, {255, 255, 255}, 5.14},
    };
    for (const auto &pair : known) {
        QCOMPARE(std::round(contrastRatio(pair.a, pair.b) * 100) / 100, pair.ratio);
        QCOMPARE(contrastRatio(pair.b, pair.a), contrastRatio(pair.a, pair.b));
    }
    QCOMPARE(textOn({255, 255, 255}), (Color{0, 0, 0}));
    QCOMPARE(textOn({0, 0, 0}), (Color{255, 255, 255}));
}

void ProjectorTest::everyTextTheViewCanShowIsReadable()
{
    const ProjectorPalette &p = projectorPalette;
    // The panel: status, message, coordinates and caption; each button's state.
    const struct {
        Color text, under;
    } fixed[] = {
        {p.text, p.background},
        {p.buttonText, p.button},
        {p.buttonText, p.checkedButton},
        {p.disabledText, p.disabledButton},
    };
    for (const auto &pair : fixed)
        QVERIFY2(contrastRatio(pair.text, pair.under) >= readable, qPrintable(QString::number(contrastRatio(pair.text, pair.under))));

    // The board, in every state a lesson reaches: walks of every length with a hint and named
    // squares anywhere, every stored tour shown, and its gallop at every step.
    QRandomGenerator random(27);
    const auto expectReadable = [](const Diagram &view, const char *where) {
        for (int n = 0; n < squareCount; ++n) {
            const Diagram::Cell &cell = view.squares[std::size_t(n)];
            QVERIFY2(contrastRatio(cell.text, cell.color) >= readable, where);
        }
    };
    for (int round = 0; round < 200; ++round) {
        Form form;
        randomWalk(form, random, 1 + round % 64);
        expectReadable(viewOf(form, {random.bounded(squareCount), {random.bounded(squareCount)}}), "walk");
    }
    for (int kind = 0; kind < tourKindCount; ++kind) {
        Form form;
        form.Option1_Click(kind);
        form.Command1_Click(int(Command::Show));
        expectReadable(viewOf(form), "shown tour");
        form.Command1_Click(int(Command::Gallop));
        form.pauseGallop(true);
        for (int step = 0; step < squareCount - 1; ++step) {
            form.stepGallop();
            expectReadable(viewOf(form), "gallop");
        }
    }
}

void ProjectorTest::squaresKeepTheirMeaning()
{
    Form form;
    form.play(u"a1 b3 c5"_s);
    const int hint = squares(u"d7"_s).front();
    const Diagram view = viewOf(form, {hint, squares(u"e6 a4"_s)});
    const ProjectorPalette &p = projectorPalette;
    for (int n = 0; n < squareCount; ++n) {
        const Color designed = form.board().square(n).backColor;
        const Color expected = n == view.knight ? p.knight
                               : n == hint      ? p.hint
                               : designed == visitedColor   ? p.visited
                               : designed == reachableColor ? p.reachable
                               : baseColor(n) == lightColor ? p.light
                                                            : p.dark;
        QCOMPARE(view.squares[std::size_t(n)].color, expected);
        QCOMPARE(view.squares[std::size_t(n)].caption, form.board().square(n).caption);
    }
    QCOMPARE(view.knight, squares(u"c5"_s).front());
    QVERIFY(view.knightFigure);
    // The hint framed as well as filled, legible without its colour (a frame of at least 3 : 1
    // on it); then the named squares.
    QCOMPARE(view.marks.size(), std::size_t(3));
    QCOMPARE(view.marks[0].square, hint);
    QVERIFY(contrastRatio(view.marks[0].color, p.hint) >= 3);
    QCOMPARE(view.marks[1].square, squares(u"e6"_s).front());
    QCOMPARE(view.marks[1].color, p.named);
    // Each meaning has a colour of its own.
    const Color fills[] = {p.light, p.dark, p.visited, p.reachable, p.knight, p.hint};
    for (const Color a : fills)
        QCOMPARE(std::count(std::begin(fills), std::end(fills), a), 1);
}

void ProjectorTest::theKnightStandsWhereTheGallopIs()
{
    Form form;
    form.Command1_Click(int(Command::Show));
    const std::vector<int> tour = form.squaresOnBoard();
    QCOMPARE(viewOf(form).knight, -1); // a shown tour has no knight
    form.Command1_Click(int(Command::Gallop));
    QCOMPARE(viewOf(form).knight, tour[0]);
    for (int step = 1; step < 10; ++step) {
        form.Timer1_Timer();
        QCOMPARE(viewOf(form).knight, tour[std::size_t(step - 1)]);
    }
}

void ProjectorTest::theStatusTellsMoveTourAndGallop()
{
    QLocale::setDefault(QLocale::c());
    Form form;
    QCOMPARE(projectorStatus(form, 2000), QStringList({u"Ход 0 от 64"_s, u"Обиколка „1“"_s}));
    form.play(u"a1 b3 c5"_s);
    QCOMPARE(projectorStatus(form, 2000), QStringList({u"Ход 3 от 64"_s, u"Дъска 8 × 8"_s}));
    form.Option1_Click(8);
    form.Command1_Click(int(Command::Show));
    QCOMPARE(projectorStatus(form, 2000), QStringList({u"Ход 64 от 64"_s, u"Обиколка „8a“"_s}));
    form.Command1_Click(int(Command::Gallop));
    // The tempo written as the program's language writes numbers, whatever the system's.
    QCOMPARE(projectorStatus(form, 500).back(), u"Галоп: 1/64, по 0,5 с на ход"_s);
    form.Timer1_Timer();
    form.Timer1_Timer();
    QCOMPARE(projectorStatus(form, 2000), QStringList({u"Обиколка „8a“"_s, u"Галоп: 2/64, по 2 с на ход"_s}));
    form.pauseGallop(true);
    QCOMPARE(projectorStatus(form, 2000).back(), u"Галоп на пауза: 2/64"_s);
}

// The view sizes the status's type so that the candidates fit: every line a lesson can show,
// whatever the tour, the step or the pace, must be no wider than the widest of them.
void ProjectorTest::noStatusLineIsWiderThanTheCandidates()
{
    QLocale::setDefault(QLocale(QLocale::Bulgarian));
    constexpr std::array tempos{500, 1000, 2000, 3000, 5000};
    QFont font(u"Liberation Serif"_s);
    font.setPixelSize(40);
    font.setBold(true);
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (const QString &line : projectorStatusCandidates(tempos))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    QStringList shown;
    for (int kind = 0; kind < tourKindCount; ++kind) {
        Form form;
        form.Option1_Click(kind);
        form.play(u"a1 b3 c5 d7"_s);
        shown << projectorStatus(form, 2000);
        form.Command1_Click(int(Command::Clear));
        form.Command1_Click(int(Command::Show));
        form.Command1_Click(int(Command::Gallop));
        for (int step = 0; step < squareCount; ++step) {
            shown << projectorStatus(form, tempos[std::size_t(step) % tempos.size()]);
            form.Timer1_Timer();
        }
        form.pauseGallop(true);
        shown << projectorStatus(form, 2000);
    }
    for (const QString &line : std::as_const(shown))
        QVERIFY2(metrics.horizontalAdvance(line) <= widest, qPrintable(line));
    QLocale::setDefault(QLocale::c());
}

QTEST_MAIN(ProjectorTest)
#include "projector_test.moc"
