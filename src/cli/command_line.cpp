// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <optional>
#include <array>
#include <string_view>

using namespace Qt::StringLiterals;

namespace knight {

// The texts of this file, in the language in use.
class CommandLineText
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineText)
};

namespace {

struct QtOption {
    std::string_view name;
    bool takesValue;
};

// The options that QGuiApplication and QApplication read themselves.
constexpr std::array<QtOption, 19> qtOptions{{
    {"platform", true},      {"platformpluginpath", true}, {"platformtheme", true},
    {"plugin", true},        {"qwindowgeometry", true},    {"qwindowicon", true},
    {"qwindowtitle", true},  {"session", true},            {"display", true},
    {"geometry", true},      {"style", true},              {"stylesheet", true},
    {"qmljsdebugger", true}, {"name", true},               {"reverse", false},
    {"widgetcount", false},  {"nograb", false},            {"dograb", false},
    {"sync", false},
}};

QString helpText(const QCommandLineParser &)
{
    return CommandLineText::tr(
               "Употреба: %1 [опции] [РАЗХОДКА]\n"
               "\n"
               "Кон на шахматна дъска: обиколки на коня по 64-те полета. РАЗХОДКА е текстов\n"
               "файл с полетата на разходка в шахматна нотация (a1 b3 c1 ...), която се\n"
               "отваря в прозореца.\n"
               "\n"
               "Опции:\n"
               "  -h, --help           показва тази помощ\n"
               "  -v, --version        показва версията\n"
               "  --lang ЕЗИК          езикът на програмата: bg (български) или en (английски);\n"
               "                       без нея – езикът на системата (прозорецът помни\n"
               "                       последно избрания)\n"
               "  --complete РАЗХОДКА  довършва разходката до пълна обиколка и я извежда\n"
               "                       (РАЗХОДКА е файл или - за стандартния вход);\n"
               "                       код на завършване: 0 – обиколка, 1 – няма обиколка,\n"
               "                       2 – грешни данни, 3 – няма отговор до 5 секунди\n"
               "    --closed           затворена обиколка: последното поле е на ход на коня\n"
               "                       от първото\n"
               "  --export ФАЙЛ        записва картина на дъската във ФАЙЛ (.png или .pdf)\n"
               "    --tour ВИД         с готовата обиколка ВИД (1 ... 8, 8a ... 5a, '?')\n"
               "    --walk РАЗХОДКА    с разходката от файла РАЗХОДКА\n"
               "    --path             с пътя на коня\n"
               "                       без --tour и --walk: празна дъска\n"
               "  --worksheet ФАЙЛ     записва във ФАЙЛ (.pdf) различни пъзели с по едно\n"
               "                       решение, по един на страница; отговорите – в\n"
               "                       ФАЙЛ-отговори.pdf до него\n"
               "    --board ДЪСКА      3x4, 3x7, 4x5, 5x5, 6x6, 7x7 или 8x8 (без нея – 8x8)\n"
               "    --level НИВО       easy, medium или hard (без нея – medium)\n"
               "    --count БРОЙ       колко различни пъзела, от 1 до %2 (без нея – 1)\n"
               "    --seed ЧИСЛО       същото число дава същите пъзели (без нея – случайно)\n"
               "    --closed           затворени обиколки (на 6x6 и 8x8)\n"
               "  --results ФАЙЛ       записва резултатите от задачите във ФАЙЛ (.csv)\n"
               "                       или на стандартния изход (-)\n"
               "  --import-results ФАЙЛ\n"
               "                       добавя резултатите от ФАЙЛ (.csv от --results или от\n"
               "                       „Резултати“); вече добавените не се повтарят\n"
               "  --store АДРЕС        резултатите на сървър за цялата компютърна зала:\n"
               "                       postgresql://ПОТРЕБИТЕЛ[:ПАРОЛА]@СЪРВЪР[:ПОРТ]/БАЗА;\n"
               "                       без нея – настройката store, а без нея – този компютър\n"
               "  --init-store         подготвя базата данни на сървъра и ролята на учениците\n"
               "                       (веднъж, от собственика на базата)\n"
               "\n"
               "Приемат се и стандартните опции на Qt: -display ДИСПЛЕЙ, -platform ИМЕ,\n"
               "-style СТИЛ и другите.\n")
        .arg(QLatin1StringView(programName))
        .arg(worksheetLimit);
}

QString boardName(const PuzzleBoard &board)
{
    return QStringLiteral("%1x%2").arg(board.files).arg(board.ranks);
}

// "6x6" (or with "X", "×", or the Cyrillic "х") as one of the boards puzzles are made for;
// spaces around it are let pass, as around a number.
std::optional<PuzzleBoard> boardNamed(QString name)
{
    name = name.trimmed();
    for (const QChar times : {u'X', u'×', u'х', u'Х'})
        name.replace(times, u'x');
    for (const PuzzleBoard &board : puzzleBoards) {
        if (boardName(board) == name)
            return board;
    }
    return std::nullopt;
}

QString boardList(bool closedOnly)
{
    QStringList names;
    for (const PuzzleBoard &board : puzzleBoards) {
        if (board.closedTours || !closedOnly)
            names.append(boardName(board));
    }
    return names.join(u", ");
}

std::optional<Level> levelNamed(const QString &name)
{
    constexpr std::array<std::pair<std::string_view, Level>, 3> levels{
        {{"easy", Level::Easy}, {"medium", Level::Medium}, {"hard", Level::Hard}}};
    for (const auto &[word, level] : levels) {
        if (name == QLatin1StringView(word.data(), qsizetype(word.size())))
            return level;
    }
    return std::nullopt;
}

// The option that one of QCommandLineParser's messages names, if the error is that message in
// the language in use (Qt's catalogue may have translated it).
std::optional<QString> optionNamedBy(const QString &error, const char *message)
{
    const QString pattern = QCoreApplication::translate("QCommandLineParser", message);
    const qsizetype at = pattern.indexOf(u"%1");
    const QString before = pattern.left(at);
    const QString after = pattern.mid(at + 2);
    if (at < 0 || error.size() <= before.size() + after.size() || !error.startsWith(before) || !error.endsWith(after))
        return std::nullopt;
    return error.mid(before.size(), error.size() - before.size() - after.size());
}

// What QCommandLineParser found wrong, in the program's own words.
QString parserProblem(const QCommandLineParser &parser)
{
    const QString text = parser.errorText();
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty())
        return CommandLineText::tr("непозната опция „%1%2“")
            .arg(unknown.first().size() == 1 ? u"-" : u"--", unknown.first());
    if (const auto option = optionNamedBy(text, "Missing value after '%1'."))
        return CommandLineText::tr("опцията %1 изисква стойност").arg(*option);
    if (const auto option = optionNamedBy(text, "Unexpected value after '%1'."))
        return CommandLineText::tr("опцията %1 не приема стойност").arg(*option);
    return CommandLineText::tr("опциите не могат да се разчетат");
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's options are single-dash words: -display, -platform.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption complete(QStringLiteral("complete"), QString(), QStringLiteral("walk"));
    const QCommandLineOption exportTo(QStringLiteral("export"), QString(), QStringLiteral("file"));
    const QCommandLineOption tour(QStringLiteral("tour"), QString(), QStringLiteral("kind"));
    const QCommandLineOption walk(QStringLiteral("walk"), QString(), QStringLiteral("walk"));
    const QCommandLineOption path(QStringLiteral("path"));
    const QCommandLineOption closed(QStringLiteral("closed"));
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("language"));
    const QCommandLineOption worksheet(QStringLiteral("worksheet"), QString(), QStringLiteral("file"));
    const QCommandLineOption board(QStringLiteral("board"), QString(), QStringLiteral("board"));
    const QCommandLineOption level(QStringLiteral("level"), QString(), QStringLiteral("level"));
    const QCommandLineOption count(QStringLiteral("count"), QString(), QStringLiteral("count"));
    const QCommandLineOption seed(QStringLiteral("seed"), QString(), QStringLiteral("seed"));
    const QCommandLineOption results(QStringLiteral("results"), QString(), QStringLiteral("file"));
    const QCommandLineOption store(QStringLiteral("store"), QString(), QStringLiteral("uri"));
    const QCommandLineOption initStore(QStringLiteral("init-store"));
    const QCommandLineOption importResults(QStringLiteral("import-results"), QString(), QStringLiteral("file"));
    const std::array ownOptions{help,  version, complete, exportTo, tour,  walk,    path,      closed,       lang,
                                worksheet, board, level,  count,    seed,  results, store, initStore, importResults};
    for (const QCommandLineOption &option : ownOptions)
        parser.addOption(option);
    for (const QtOption &qt : qtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name.data(), qsizetype(qt.name.size())));
        if (qt.takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine result;
    const auto usageError = [&result](const QString &problem) {
        result.mode = CommandLine::Mode::Error;
        result.message = CommandLineText::tr("%1: %2; вижте %1 --help").arg(QLatin1StringView(programName), problem);
        return result;
    };
    const bool parsed = parser.parse(arguments);
    // The language first, so that the help and every later message can speak it; the parser
    // keeps what it read before a mistake too.
    if (parser.isSet(lang))
        result.language = languageFromCode(parser.value(lang));
    if (!parsed)
        return usageError(parserProblem(parser));
    if (parser.isSet(lang) && !result.language)
        return usageError(CommandLineText::tr("непознат език „%1“: изберете bg или en").arg(parser.value(lang)));
    // Each of the program's own options at most once, and never with an empty value.
    const QStringList given = parser.optionNames();
    for (const QCommandLineOption &option : ownOptions) {
        const QStringList names = option.names();
        const QString name = QStringLiteral("--") + *std::find_if(names.begin(), names.end(), [](const QString &n) {
            return n.size() > 1;
        });
        const auto times = std::count_if(given.begin(), given.end(), [&option](const QString &seen) {
            return option.names().contains(seen);
        });
        if (times > 1)
            return usageError(CommandLineText::tr("опцията %1 е зададена повече от веднъж").arg(name));
        if (!option.valueName().isEmpty() && parser.isSet(option) && parser.value(option).isEmpty())
            return usageError(CommandLineText::tr("опцията %1 изисква стойност, а тя е празна").arg(name));
    }
    // A walk named like an option is one written in the wrong place, far more often than a
    // file of that name.
    for (const QCommandLineOption &option : {complete, walk}) {
        if (const QString value = parser.value(option); value.startsWith(u"--"))
            return usageError(CommandLineText::tr("разходката „%1“ на %2 прилича на опция: за файл с такова име "
                                                  "пишете ./%1, а опцията поставете след разходката")
                                  .arg(value, QStringLiteral("--") + option.names().first()));
    }
    if (parser.isSet(help)) {
        result.mode = CommandLine::Mode::Help;
        result.message = helpText(parser);
        return result;
    }
    if (parser.isSet(version)) {
        result.mode = CommandLine::Mode::Version;
        result.message = QStringLiteral("%1 %2\n").arg(QLatin1StringView(programName),
                                                      QLatin1StringView(KNIGHT_VERSION));
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    const auto unexpected = [&usageError](const QString &argument) {
        return usageError(CommandLineText::tr("неочакван аргумент „%1“").arg(argument));
    };
    const int modes = int(parser.isSet(exportTo)) + int(parser.isSet(complete)) + int(parser.isSet(worksheet))
                      + int(parser.isSet(results));
    if (modes > 1)
        return usageError(CommandLineText::tr("--complete, --export, --worksheet и --results не могат да се използват заедно"));
    if ((parser.isSet(initStore) || parser.isSet(importResults)) && modes + int(parser.isSet(initStore)) + int(parser.isSet(importResults)) > 1)
        return usageError(CommandLineText::tr("--init-store и --import-results не могат да се използват заедно, нито с "
                                              "--complete, --export, --worksheet и --results"));
    result.store = parser.value(store);
    // The class's results: written out, the server made ready, or a computer's CSV brought in.
    for (const auto &[option, mode] : {std::pair{&results, CommandLine::Mode::Results},
                                       std::pair{&initStore, CommandLine::Mode::InitStore},
                                       std::pair{&importResults, CommandLine::Mode::ImportResults}}) {
        if (!parser.isSet(*option))
            continue;
        for (const QCommandLineOption &other : {tour, walk, path, closed, board, level, count, seed}) {
            if (parser.isSet(other))
                return usageError(CommandLineText::tr("--%1 не може да се използва с --%2")
                                      .arg(other.names().first(), option->names().first()));
        }
        if (!positional.isEmpty())
            return unexpected(positional.first());
        result.mode = mode;
        result.resultsFile = parser.value(*option);
        return result;
    }
    if (parser.isSet(store) && (parser.isSet(exportTo) || parser.isSet(complete) || parser.isSet(worksheet)))
        return usageError(CommandLineText::tr("--store може да се използва само с прозореца, --results, --init-store "
                                              "и --import-results"));
    if (parser.isSet(worksheet)) {
        if (parser.isSet(tour) || parser.isSet(walk) || parser.isSet(path))
            return usageError(CommandLineText::tr("--tour, --walk и --path могат да се използват само с --export"));
        if (!positional.isEmpty())
            return unexpected(positional.first());
        result.mode = CommandLine::Mode::Worksheet;
        result.worksheetFile = parser.value(worksheet);
        WorksheetRequest &request = result.worksheet;
        const std::optional<PuzzleBoard> chosen = boardNamed(parser.isSet(board) ? parser.value(board) : u"8x8"_s);
        if (!chosen)
            return usageError(CommandLineText::tr("непозната дъска „%1“: дъските са %2")
                                  .arg(parser.value(board), boardList(false)));
        request.files = chosen->files;
        request.ranks = chosen->ranks;
        request.closed = parser.isSet(closed);
        if (request.closed && !chosen->closedTours)
            return usageError(CommandLineText::tr("на дъска %1 няма затворени обиколки; има на %2")
                                  .arg(boardName(*chosen), boardList(true)));
        if (parser.isSet(level)) {
            const std::optional<Level> named = levelNamed(parser.value(level).trimmed());
            if (!named)
                return usageError(CommandLineText::tr("непознато ниво „%1“: изберете easy, medium или hard")
                                      .arg(parser.value(level)));
            request.level = *named;
        }
        if (parser.isSet(count)) {
            bool number = false;
            request.count = parser.value(count).toInt(&number);
            if (!number || request.count < 1 || request.count > worksheetLimit)
                return usageError(CommandLineText::tr("броят „%1“ трябва да е цяло число от 1 до %2")
                                      .arg(parser.value(count))
                                      .arg(worksheetLimit));
        }
        result.seedGiven = parser.isSet(seed);
        if (result.seedGiven) {
            bool number = false;
            request.seed = parser.value(seed).toULongLong(&number);
            if (!number || parser.value(seed).trimmed().startsWith(u'+'))
                return usageError(CommandLineText::tr("серията „%1“ на --seed трябва да е цяло число от 0 нагоре")
                                      .arg(parser.value(seed)));
        }
        return result;
    }
    for (const QCommandLineOption &option : {board, level, count, seed}) {
        if (parser.isSet(option))
            return usageError(CommandLineText::tr("--%1 може да се използва само с --worksheet").arg(option.names().first()));
    }
    if (parser.isSet(exportTo)) {
        if (parser.isSet(closed))
            return usageError(CommandLineText::tr("--closed може да се използва само с --complete или --worksheet"));
        if (parser.isSet(tour) && parser.isSet(walk))
            return usageError(CommandLineText::tr("--tour и --walk не могат да се използват заедно"));
        if (!positional.isEmpty())
            return unexpected(positional.first());
        result.mode = CommandLine::Mode::Export;
        result.exportFile = parser.value(exportTo);
        result.tourKind = parser.value(tour);
        result.walkSource = parser.value(walk);
        result.path = parser.isSet(path);
        return result;
    }
    if (parser.isSet(tour) || parser.isSet(walk) || parser.isSet(path))
        return usageError(CommandLineText::tr("--tour, --walk и --path могат да се използват само с --export"));
    if (parser.isSet(complete)) {
        if (!positional.isEmpty())
            return unexpected(positional.first());
        result.mode = CommandLine::Mode::Complete;
        result.walkSource = parser.value(complete);
        result.closed = parser.isSet(closed);
        return result;
    }
    if (parser.isSet(closed))
        return usageError(CommandLineText::tr("--closed може да се използва само с --complete или --worksheet"));
    result.display = parser.value(QStringLiteral("display"));
    result.platform = parser.value(QStringLiteral("platform"));
    // One walk file to open in the window.
    if (positional.size() > 1)
        return unexpected(positional.at(1));
    result.files = positional;
    return result;
}

} // namespace knight
