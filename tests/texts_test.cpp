// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/controls.h"
#include "tours/catalogue.h"
#include "tours/knight_form.h"
#include "tours/texts.h"

#include <QRegularExpression>
#include <QTest>

using namespace knight;
using namespace Qt::StringLiterals;

namespace {

struct Line {
    int length;
    const char16_t *begins;
};

const QList<QList<Line>> described{
    {{104, u"Решението на задачата за движение"},
     {139, u"Постановката на задачата е"},
     {80, u"Допълнително затруднение е"},
     {148, u"Ойлер твърди, че ако пълната обиколка"},
     {186, u"В решението си"}},
    {{83, u"Вариант за решение е обикаляне"},
     {110, u"Нека условно разделим дъската"},
     {227, u"В останалите 48 (4x12) полета"},
     {165, u"Като завърши определен непълен кръгов път"},
     {91, u"Не е трудно да се намерят"},
     {21, u"ab', bc', cd'. da'..."},
     {234, u"За получаване на непълен път на коня от 16 полета"},
     {172, u"Така се получават четири непълни кръгови пътя"},
     {436, u"Конят се поставя на поле от външната част"}},
    {{162, u"Друг начин за обикаляне"},
     {158, u"16-те полета от всяка четвърт"},
     {207, u"Като се съединят едноименните квадрати и ромбове"},
     {209, u"Могат да възникнат трудности"},
     {434, u"Нека имаме незатворена последователност от ходове"},
     {179, u"Същото се отнася и за случая"},
     {101, u"Броят на пътищата"}},
};

const QList<Line> paragraphs{
    {296, u"Ходовете в шахмата обикновено се записват"},
    {175, u"Една от известните шахматни задачи"},
    {344, u"Друга, сравнително по-лесна шахматна задача"},
    {92, u"Да се реализира проект"},
    {62, u"Тема на проекта:"},
    {317, u"В реализирания проект са представени"},
    {261, u"Чрез командни бутона"},
    {105, u"Съберете допълнително информация"},
    {330, u"Интересно решение за ходовете на кон"},
};

QStringList introductionParagraphs()
{
    QStringList list = introductionText().split(u"\r\n"_s);
    if (list.last().isEmpty())
        list.removeLast();
    return list;
}

// Careless text: doubled or stray spaces, and Latin letters inside Cyrillic words.
void verifyWellFormed(const QString &text)
{
    QVERIFY2(!text.contains(u"  "_s), qPrintable(text));
    QVERIFY2(!text.startsWith(u' ') && !text.endsWith(u' '), qPrintable(text));
    QVERIFY2(!text.contains(QRegularExpression(u" [,.:;]"_s)), qPrintable(text));
    static const QRegularExpression mixed(u"\\p{Cyrillic}[A-Za-z]|[A-Za-z]\\p{Cyrillic}"_s);
    QVERIFY2(!text.contains(mixed), qPrintable(text));
}

} // namespace

class TextsTest : public QObject
{
    Q_OBJECT

private slots:
    void descriptions_data();
    void descriptions();
    void shortDescriptions();
    void descriptionsInTheTextBox();
    void introduction();
    void introductionEndsWithTheDescribedTour();
    void quotation();
    void wordingAPupilReadsRight();
};

void TextsTest::descriptions_data()
{
    QTest::addColumn<int>("kind");
    for (int kind = 0; kind < 3; ++kind)
        QTest::addRow("kind %d", kind) << kind;
}

void TextsTest::descriptions()
{
    QFETCH(int, kind);
    const QStringList lines = descriptionLines(kind);
    const QList<Line> &expected = described[kind];
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines[i].size(), expected[i].length);
        QVERIFY2(lines[i].startsWith(QString::fromUtf16(expected[i].begins)), qPrintable(lines[i]));
        QVERIFY(!lines[i].contains(u'\r') && !lines[i].contains(u'\n'));
        if (lines[i] != u"ab', bc', cd'. da'..."_s)
            verifyWellFormed(lines[i]);
    }
    if (kind == 0)
        QVERIFY(lines[0].contains(u"26.04.1757"_s));
}

void TextsTest::shortDescriptions()
{
    for (int kind = 3; kind <= 11; ++kind)
        QCOMPARE(descriptionLines(kind), QStringList{u"Аналогично"_s});
    QCOMPARE(descriptionLines(12), QStringList{u"Описаният вариант"_s});
    QCOMPARE(descriptionLines(12).first().size(), 17);
}

void TextsTest::descriptionsInTheTextBox()
{
    KnightForm form;
    form.Form_Load();
    form.Option1_Click(1);
    const QStringList lines = form.text().split(u"\r\n"_s);
    QCOMPARE(lines.size(), 10); // nine lines, each ended by CR LF
    QVERIFY(lines.last().isEmpty());
    QCOMPARE(lines.mid(0, 9), descriptionLines(1));
    QVERIFY(!form.text().contains(u"\n\n"_s));

    form.Option1_Click(0);
    QCOMPARE(form.text().size(), 104 + 139 + 80 + 148 + 186 + 5 * 2);
}

void TextsTest::introduction()
{
    const QString text = introductionText();
    QCOMPARE(text.size(), 2000);
    QVERIFY(text.endsWith(u"\r\n"_s));
    QCOMPARE(text.count(u"\r\n"_s), 9);
    QCOMPARE(text.count(u'\r'), 9);
    QCOMPARE(text.count(u'\n'), 9);

    const QStringList list = introductionParagraphs();
    QCOMPARE(list.size(), paragraphs.size());
    for (int i = 0; i < list.size(); ++i) {
        QCOMPARE(list[i].size(), paragraphs[i].length);
        QVERIFY2(list[i].startsWith(QString::fromUtf16(paragraphs[i].begins)), qPrintable(list[i]));
        verifyWellFormed(list[i]);
    }
    QVERIFY(list[2].contains(u"a1, c2, e3, d5, e7, g6, h8"_s));
    QVERIFY(list[2].contains(u"a1, b3, d2, f3, g5, f7, h8"_s));
    // The first path again as row and column numbers, row first.
    QVERIFY(list[2].contains(u"11, 23, 35, 54, 75, 67, 88"_s));
    const QString title = QString::fromUtf8(controls::label1.caption.data(),
                                            qsizetype(controls::label1.caption.size()));
    QCOMPARE(list[4], u"Тема на проекта: "_s + title + u'.');
}

void TextsTest::introductionEndsWithTheDescribedTour()
{
    // The tour of kind "?" read from its table in step order.
    QStringList squares(squareCount);
    for (int n = 0; n < squareCount; ++n) {
        const int step = tourStep(storedTours[12], n);
        squares[step - 1] = QString(QChar(u'a' + n % 8)) + QChar(u'1' + n / 8);
    }
    const QString sequence = squares.join(u',') + u'.';
    QCOMPARE(sequence.size(), 64 * 2 + 63 + 1);
    const QString last = introductionParagraphs().last();
    QVERIFY(last.endsWith(sequence));
    QVERIFY(last.endsWith(u"e5,d3."_s));
    QVERIFY(last.contains(u": a1,b3,c1,e2,"_s));
}

void TextsTest::quotation()
{
    const QString text = quotationText();
    QCOMPARE(text.size(), 118);
    QCOMPARE(text,
             u"Неприятното в това да си първият, направил нещо по \r\n"
             u"правилния начин, е, че никой не оценява колко трудно е \r\n"
             u"било. \r\n"_s);
}

// What the texts say of themselves and of chess, worded as a teacher would check it.
void TextsTest::wordingAPupilReadsRight()
{
    const QStringList intro = introductionParagraphs();
    QVERIFY(intro[6].endsWith(u"а за следващите девет е указано „Аналогично“."_s));
    QVERIFY(intro[5].contains(u"представени клетки, които имитират полетата"_s));
    QVERIFY(intro[2].contains(u"големия диагонал"_s));
    QVERIFY(!introductionText().contains(u"главния"_s));
    // Nine kinds say "Аналогично", the last one "Описаният вариант", as paragraph 7 says.
    int similar = 0;
    for (int kind = 3; kind < tourKindCount; ++kind)
        similar += descriptionLines(kind) == QStringList{u"Аналогично"_s};
    QCOMPARE(similar, 9);
    const QString ring = descriptionLines(1).last();
    QVERIFY(ring.contains(u"След това скача на непълен път от вътрешната част, разноименен с предишния,"_s));
    const qsizetype start = ring.indexOf(u"След това"_s);
    const QString sentence = ring.mid(start, ring.indexOf(u'.', start) - start);
    QCOMPARE(sentence.count(u" път"_s), 1);
}

QTEST_GUILESS_MAIN(TextsTest)
#include "texts_test.moc"
