// SPDX-License-Identifier: GPL-3.0-or-later
// Bulgarian and English: the language a start chooses, the English catalogue whole and English,
// the window in English and switched back while it runs, the guides, and Qt's own dialogs and
// menus in Bulgarian.
#include "app/features/file_dialog.h"
#include "app/form/actions.h"
#include "app/form/command_button.h"
#include "app/features/guide_window.h"
#include "app/features/language_menu.h"
#include "app/form/mainwindow.h"
#include "language/language.h"
#include "tours/texts.h"
#include "window_support.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QAbstractProxyModel>
#include <QTreeView>
#include <QFileSystemModel>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QXmlStreamReader>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

bool hasCyrillic(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x400 && c.unicode() <= 0x4ff; });
}

// The placeholders of a text, in order of number: "%1 %2 %1" gives "%1 %1 %2".
QStringList placeholders(const QString &text)
{
    QStringList found;
    for (const QRegularExpressionMatch &match : QRegularExpression(u"%\\d"_s).globalMatch(text))
        found.append(match.captured());
    found.sort();
    return found;
}

// What a user reads in the window, besides the text box.
QStringList windowTexts(const MainWindow &window)
{
    QStringList texts{window.windowTitle(), window.title()->text(), window.frame()->title()};
    for (int i = 0; i < commandCount; ++i)
        texts.append(window.command(i)->text());
    for (const ActionEntry &entry : actionTable())
        texts.append(window.action(entry.id)->text());
    return texts;
}

struct Message {
    QString context, source, translation; // a count's: its form for many
    bool finished;
    QStringList forms; // a count's forms: one, many
    bool numerus;
};

QList<Message> catalogue()
{
    QFile file(QStringLiteral(KNIGHT_SOURCE_DIR "/translations/knight_en.ts"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"message")
            messages.append({context, {}, {}, true, {}, xml.attributes().value(u"numerus"_s) == u"yes"});
        else if (xml.name() == u"source")
            messages.last().source = xml.readElementText();
        else if (xml.name() == u"translation") {
            Message &message = messages.last();
            message.finished = xml.attributes().value(u"type"_s).isEmpty();
            if (!message.numerus) {
                message.translation = xml.readElementText();
                continue;
            }
            while (xml.readNextStartElement())
                message.forms << xml.readElementText();
            message.translation = message.forms.value(message.forms.size() - 1);
        }
    }
    return messages;
}

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void startLanguage_data();
    void startLanguage();
    void theEnglishCatalogueIsWholeAndEnglish();
    void theWindowInEnglishAndBackWhileItRuns();
    void theEnglishGuideListsEveryAction();
    void qtSpeaksBulgarian();
    void theFileDialogsListSpeaksTheProgramsLanguage_data();
    void theFileDialogsListSpeaksTheProgramsLanguage();
    void theChoiceIsRemembered();
    void theWindowsTypefaceHasEveryLetter();
    void menusMadeAtTheFirstRightClickShowWhatWasChosen();

private:
    Translations translations_;
};

void LanguageTest::cleanup()
{
    translations_.use(Language::Bulgarian);
}

void LanguageTest::startLanguage_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("expected");
    QTest::newRow("English system") << u""_s << u""_s << QStringList{u"en-US"_s, u"en"_s} << u"en"_s;
    QTest::newRow("Bulgarian system") << u""_s << u""_s << QStringList{u"bg-BG"_s} << u"bg"_s;
    QTest::newRow("first of the two wins") << u""_s << u""_s << QStringList{u"de-DE"_s, u"bg"_s, u"en-GB"_s} << u"bg"_s;
    QTest::newRow("English after German") << u""_s << u""_s << QStringList{u"de_DE.UTF-8"_s, u"EN_gb"_s} << u"en"_s;
    QTest::newRow("neither") << u""_s << u""_s << QStringList{u"fr-FR"_s, u"de"_s} << u"bg"_s;
    QTest::newRow("C locale") << u""_s << u""_s << QStringList{u"C"_s} << u"bg"_s;
    QTest::newRow("no languages") << u""_s << u""_s << QStringList{} << u"bg"_s;
    QTest::newRow("a look-alike is not English") << u""_s << u""_s << QStringList{u"eng"_s, u"bgx"_s} << u"bg"_s;
    QTest::newRow("remembered beats the system") << u""_s << u"en"_s << QStringList{u"bg-BG"_s} << u"en"_s;
    QTest::newRow("the option beats both") << u"bg"_s << u"en"_s << QStringList{u"en-US"_s} << u"bg"_s;
    QTest::newRow("a remembered nonsense is ignored") << u""_s << u"xx"_s << QStringList{u"en-US"_s} << u"en"_s;
}

void LanguageTest::startLanguage()
{
    QFETCH(QString, option);
    QFETCH(QString, remembered);
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, expected);
    QCOMPARE(languageCode(knight::startLanguage(languageFromCode(option), languageFromCode(remembered), uiLanguages)),
             expected);
}

// Every text the program translates has an English translation: finished, without a Cyrillic
// letter, with the same placeholders and the same leading and trailing spaces (the pieces are
// joined); and the compiled catalogue gives it.
void LanguageTest::theEnglishCatalogueIsWholeAndEnglish()
{
    const QList<Message> messages = catalogue();
    QVERIFY(messages.size() > 150);
    translations_.use(Language::English);
    for (const Message &message : messages) {
        const char *what = qPrintable(message.context + u": "_s + message.source);
        QVERIFY2(message.finished && !message.translation.isEmpty(), what);
        QVERIFY2(!hasCyrillic(message.translation), what);
        QCOMPARE(placeholders(message.translation), placeholders(message.source));
        QCOMPARE(message.translation.front().isSpace(), message.source.front().isSpace());
        QCOMPARE(message.translation.back().isSpace(), message.source.back().isSpace());
        if (!message.forms.isEmpty()) {
            // A count: each form English, the one for one may say "one" for %n.
            QCOMPARE(message.forms.size(), 2);
            QVERIFY2(!hasCyrillic(message.forms[0]), what);
            for (const int n : {1, 2, 5})
                QCOMPARE(QCoreApplication::translate(message.context.toUtf8().constData(), message.source.toUtf8().constData(),
                                                     nullptr, n),
                         QString(message.forms[n == 1 ? 0 : 1]).replace(u"%n"_s, QString::number(n)));
            continue;
        }
        QCOMPARE(QCoreApplication::translate(message.context.toUtf8().constData(), message.source.toUtf8().constData()),
                 message.translation);
    }
    // Every count agrees with its number in both languages: a number right before a counted
    // noun ("1 puzzles", "1 полета") is a plural form (%n), a board's total ("of 25 squares",
    // "всички 25 полета") or has its own text for one; elsewhere a count stands after a label
    // ("Пъзели: 1").
    static const QRegularExpression counted(
        uR"((?<!\bof |\bof its |\ball |\bот |\bвсички |\bвсичките )%[1-9] (?:\w+ )?(puzzles|moves|squares|attempts|results|hints|columns|rows|tasks|pupils|пъзела|пъзели|хода|ходове|полета|опита|опити|резултата|реда|колони|задачи|ученици)\b)"_s,
        QRegularExpression::UseUnicodePropertiesOption);
    QStringList sources;
    for (const Message &message : messages)
        sources << message.source;
    for (const Message &message : messages) {
        if (message.numerus)
            continue;
        for (const QString &text : {message.source, message.translation}) {
            const QRegularExpressionMatch match = counted.match(text);
            // A text for one beside it: "разходка по 1 поле" for "разходка по %1 полета".
            const bool forOne = match.hasMatch() && message.source.contains(u"%1 полета"_s)
                && sources.contains(QString(message.source).replace(u"%1 полета"_s, u"1 поле"_s));
            QVERIFY2(!match.hasMatch() || forOne, qPrintable(text));
        }
    }
    for (int kind = 0; kind < tourKindCount; ++kind)
        QVERIFY(!hasCyrillic(descriptionLines(kind).join(u' ')));
    QVERIFY(introductionText().startsWith(u"Moves in chess"_s));
    QVERIFY(!hasCyrillic(introductionText()));
    // Hidden, and so never translated.
    QVERIFY(hasCyrillic(quotationText()));
}

// Built in English, every caption, menu item and text is English; switched to Bulgarian while
// it runs, the window is as a Bulgarian window would be, and the key switches it back.
void LanguageTest::theWindowInEnglishAndBackWhileItRuns()
{
    translations_.use(Language::English);
    ShownWindow shown;
    MainWindow &window = shown.window;
    window.languageMenu()->useTranslations(&translations_);
    QCOMPARE(window.windowTitle(), u"www.kon-obikolka.example Physical education – chess"_s);
    QCOMPARE(window.command(3)->text(), u"Take back"_s);
    QCOMPARE(window.frame()->title(), u"Choose a tour"_s);
    for (const QString &text : windowTexts(window))
        QVERIFY2(!hasCyrillic(text) || text == u"Език / Language"_s, qPrintable(text));
    QVERIFY(window.textBox()->toPlainText().startsWith(u"Moves in chess are usually written"_s));
    QVERIFY(window.option(1)->accessibleDescription().startsWith(u"A tour of the board"_s));
    window.option(2)->click();
    QVERIFY(window.textBox()->toPlainText().startsWith(u"Another way of touring"_s));
    clickSquares(window, u"a1 b3"_s);
    QCOMPARE(window.square(squareNamed(u"b3"_s))->accessibleSquareName(), u"Square b3, move 2, the knight is here"_s);
    window.action(ActionId::Verdict)->trigger();
    QCOMPARE(message(window), u"Yes: from this position the knight can still visit every square."_s);
    QVERIFY(window.contextMenu()); // the submenus come with it
    const auto groups = [&window] {
        QStringList titles;
        for (const QAction *entry : window.contextMenu()->actions()) {
            if (entry->menu() && entry != window.action(ActionId::Language))
                titles.append(entry->text());
        }
        return titles.join(u',');
    };
    QCOMPARE(groups(), u"Gallop controls,Assistant,Practice,View,File"_s);
    QCOMPARE(window.action(ActionId::Tempo)->menu()->actions().first()->text(), u"0.5 s"_s);
    window.showGuide();
    QVERIFY(window.guide()->browser()->toPlainText().startsWith(u"Guide for pupils and teachers"_s));
    const QMenu *languages = window.action(ActionId::Language)->menu();
    QVERIFY(languages && languages->actions().size() == 2);
    QVERIFY(languages->actions().at(1)->isChecked());

    window.languageMenu()->setLanguage(Language::Bulgarian);
    MainWindow bulgarian;
    bulgarian.Option1_Click(2);
    clickSquares(bulgarian, u"a1 b3"_s);
    QTRY_COMPARE(windowTexts(window), windowTexts(bulgarian));
    QCOMPARE(window.textBox()->toPlainText(), bulgarian.textBox()->toPlainText());
    QCOMPARE(message(window), QString()); // the English answer went with its language
    QVERIFY(languages->actions().at(0)->isChecked());
    QCOMPARE(window.action(ActionId::Tempo)->menu()->actions().first()->text(), u"0,5 с"_s);
    QCOMPARE(groups(), u"Управление на галопа,Помощник,Упражнения,Изглед,Файл"_s);
    QCOMPARE(window.guide()->windowTitle(), u"Упътване"_s);
    QVERIFY(window.guide()->browser()->toPlainText().startsWith(u"Упътване за ученици и учители"_s));

    window.guide()->close();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(window.command(0)->text(), u"Show"_s);
    QCOMPARE(window.languageMenu()->language(), Language::English);
}

void LanguageTest::theEnglishGuideListsEveryAction()
{
    // The Bulgarian guide is checked beside the shortcuts themselves.
    translations_.use(Language::English);
    const QString guide = GuideWindow::guideMarkdown(Language::English);
    QVERIFY(guide.startsWith(u"# Guide"_s));
    for (const ActionEntry &entry : actionTable()) {
        const QString row = u"| %1 | %2 |"_s.arg(actionShortcut(entry).toString(), actionText(entry));
        QVERIFY2(guide.contains(row), qPrintable(row));
    }
    QVERIFY(!hasCyrillic(QString(guide).remove(u"Език / Language"_s).remove(u"а, с, е"_s)));
}

// As the program starts in Bulgarian: the text box's menu and the file dialog are Bulgarian.
void LanguageTest::qtSpeaksBulgarian()
{
    translations_.use(Language::Bulgarian);
    QPlainTextEdit box;
    box.setPlainText(u"a1 b3"_s);
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList items;
    for (const QAction *action : menu->actions())
        items.append(action->text().section(u'\t', 0, 0)); // without the shortcut
    QVERIFY2(items.contains(u"&Копиране"_s) && items.contains(u"Избиране на всичко"_s), qPrintable(items.join(u',')));
    QFileDialog dialog(nullptr, u"Отвори разходка"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QCOMPARE(dialog.labelText(QFileDialog::LookIn), u"Преглед на:"_s);
    QCOMPARE(dialog.labelText(QFileDialog::FileName), u"Име на &файла:"_s);
}

void LanguageTest::theFileDialogsListSpeaksTheProgramsLanguage_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("folder");
    QTest::newRow("bg") << Language::Bulgarian << u"2,00 KiB"_s << u"26.04.25 г. 17:05 ч."_s << u"Папка"_s;
    QTest::newRow("en") << Language::English << u"2.00 KiB"_s << u"26/04/2025 17:05"_s << u"Folder"_s;
}

// Whatever the system's locale, the dialog's list writes sizes, dates and types in the
// program's language.
void LanguageTest::theFileDialogsListSpeaksTheProgramsLanguage()
{
    QFETCH(Language, language);
    QFETCH(QString, size);
    QFETCH(QString, date);
    QFETCH(QString, folder);
    translations_.use(language);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"walk.txt"_s);
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(2048, 'a'));
        out.close();
        QVERIFY(out.open(QIODevice::ReadWrite));
        QVERIFY(out.setFileTime(QDateTime(QDate(2025, 4, 26), QTime(17, 5)), QFileDevice::FileModificationTime));
    }
    QVERIFY(QDir(dir.path()).mkdir(u"lessons"_s));
    QFileDialog dialog(nullptr, u"Отвори разходка"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    speakProgramLanguage(dialog);
    dialog.setDirectory(dir.path());
    auto *files = dialog.findChild<QFileSystemModel *>();
    auto *list = dialog.findChild<QTreeView *>(u"treeView"_s);
    QVERIFY(files && list);
    // What the dialog's detailed list shows, through whatever model stands between.
    const auto shown = [files, list](const QString &path, int column) {
        QModelIndex index = files->index(path, column);
        if (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(list->model()))
            index = proxy->mapFromSource(index);
        return list->model()->data(index).toString();
    };
    QTRY_COMPARE(shown(file, 1), size);
    QCOMPARE(shown(file, 3), date);
    QCOMPARE(shown(dir.filePath(u"lessons"_s), 2), folder);
}

void LanguageTest::theChoiceIsRemembered()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"settings.ini"_s);
    {
        MainWindow window;
        window.preferences().useStore(std::make_unique<QSettings>(path, QSettings::IniFormat));
        window.languageMenu()->setLanguage(Language::English);
    }
    QCOMPARE(QSettings(path, QSettings::IniFormat).value(u"language"_s).toString(), u"en"_s);
}

// The window's own widgets draw in its typeface alone, without other fonts to fill gaps: every
// letter of every text, in both languages, is in it, and the text box's zero-width break
// opportunities take no room (a missing letter would be an empty box).
void LanguageTest::theWindowsTypefaceHasEveryLetter()
{
    MainWindow window;
    const QList<Message> messages = catalogue();
    QVERIFY(messages.size() > 150);
    for (const QFont &font : {window.textBox()->font(), window.option(0)->font(), window.square(0)->font()}) {
        const QFontMetricsF metrics(font);
        for (const Message &message : messages) {
            for (const QString &text : {message.source, message.translation}) {
                for (const char32_t letter : text.toUcs4()) {
                    const bool shown = letter != u'\n';
                    QVERIFY2(!shown || metrics.inFontUcs4(letter),
                             qPrintable(QString::number(letter, 16) + u" in "_s + message.source));
                }
            }
        }
        QCOMPARE(metrics.horizontalAdvance(u"a1,\u200Bb3"_s), metrics.horizontalAdvance(u"a1,b3"_s));
    }
}

// The context menu and its submenus are made at the first right click: a pace and a language
// chosen by their keys before then are what they show, in that language.
void LanguageTest::menusMadeAtTheFirstRightClickShowWhatWasChosen()
{
    translations_.use(Language::Bulgarian);
    MainWindow window;
    window.languageMenu()->useTranslations(&translations_);
    window.action(ActionId::Tempo)->trigger();    // 2 s, the designed pace, to the next one
    window.action(ActionId::Language)->trigger(); // Bulgarian to English
    const auto checked = [](const QMenu *menu) {
        QStringList texts;
        for (const QAction *action : menu->actions()) {
            if (action->isChecked())
                texts.append(action->text());
        }
        return texts;
    };
    QTRY_COMPARE(window.contextMenu()->actions().first()->text(), u"Show"_s); // when the window hears of it
    QCOMPARE(checked(window.action(ActionId::Tempo)->menu()), QStringList{u"3 s"_s});
    QCOMPARE(checked(window.action(ActionId::Language)->menu()), QStringList{u"English"_s});
}

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
