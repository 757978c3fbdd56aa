// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/csv_import.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QUuid>

#include <array>

namespace knight {

namespace {

struct ImportText {
    Q_DECLARE_TR_FUNCTIONS(ImportText)
};

// The columns read back, as the CSV orders them.
enum Column { Pupil = 0, TaskColumn = 1, OutcomeColumn = 4, Seconds = 5, TakeBacks = 9, Hints = 10, Verdicts = 11,
              HelpColumn = 12, Finished = 13, Id = 14, Columns = 15 };

// The records of a CSV: fields split on the separator outside quotes, "" as one quote.
std::vector<QStringList> records(const QString &text, QChar separator)
{
    std::vector<QStringList> rows(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            rows.back() << field;
            field.clear();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            rows.back() << field;
            field.clear();
            rows.emplace_back();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !rows.back().isEmpty())
        rows.back() << field;
    else
        rows.pop_back();
    return rows;
}

// A text in Bulgarian and as the English catalogue has it: a CSV may be in either.
bool namesAs(const QString &field, const char *context, const char *bulgarian)
{
    static const std::unique_ptr<QTranslator> english = [] {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QStringLiteral(":/i18n/knight_en.qm")))
            translator.reset();
        return translator;
    }();
    return field == QString::fromUtf8(bulgarian) || (english && field == english->translate(context, bulgarian));
}

std::optional<Outcome> outcomeNamed(const QString &field)
{
    constexpr std::array<std::pair<const char *, Outcome>, 3> outcomes{
        {{"да", Outcome::Solved}, {"с помощника", Outcome::Completed}, {"не", Outcome::Abandoned}}};
    for (const auto &[name, outcome] : outcomes) {
        if (namesAs(field, "ResultsText", name))
            return outcome;
    }
    return std::nullopt;
}

std::optional<unsigned> helpNamed(const QString &field)
{
    constexpr std::array<const char *, helpKinds> kinds{"подсказки", "проверки", "довършване", "брой продължения",
                                                        "показана обиколка"};
    unsigned help = 0;
    if (field == QStringLiteral("—") || field.isEmpty())
        return help;
    for (const QString &name : field.split(QStringLiteral(", "))) {
        const auto kind = std::find_if(kinds.begin(), kinds.end(), [&name](const char *known) {
            return namesAs(name, "ResultsText", known);
        });
        if (kind == kinds.end())
            return std::nullopt;
        help |= 1u << unsigned(kind - kinds.begin());
    }
    return help;
}

// What the CSV kept as text so that a spreadsheet would not take it for a formula.
QString unguarded(const QString &field)
{
    return field.size() > 1 && field.front() == u'\'' && QStringLiteral("=+-@\t\r").contains(field[1]) ? field.mid(1) : field;
}

} // namespace

CsvImport attemptsOfCsv(const QByteArray &bytes)
{
    CsvImport result;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // The separator is the one that splits the header into the CSV's columns.
    const QString header = text.section(QLatin1Char('\n'), 0, 0);
    const QChar separator = header.count(u';') >= Columns - 1 ? u';' : u',';
    const std::vector<QStringList> rows = records(text, separator);
    if (rows.empty() || rows.front().size() != Columns) {
        result.problem = ImportText::tr("първият ред не е заглавието на таблица с резултати (колони: %1)").arg(int(Columns));
        return result;
    }
    for (std::size_t line = 1; line < rows.size(); ++line) {
        const QStringList &row = rows[line];
        const auto refuse = [&](const QString &why) {
            result.attempts.clear();
            result.problem = ImportText::tr("ред %1: %2").arg(line + 1).arg(why);
            return result;
        };
        if (row.size() == 1 && row.front().isEmpty())
            continue;
        if (row.size() != Columns)
            return refuse(ImportText::tr("колони: %1 вместо %2").arg(row.size()).arg(int(Columns)));
        std::array<int, 5> numbers{};
        constexpr std::array<int, 5> numbered{TaskColumn, Seconds, TakeBacks, Hints, Verdicts};
        for (std::size_t i = 0; i < numbered.size(); ++i) {
            bool number = false;
            numbers[i] = row[numbered[i]].toInt(&number);
            if (!number || numbers[i] < int(i == 0))
                return refuse(ImportText::tr("„%1“ не е цяло число от %2 нагоре").arg(row[numbered[i]]).arg(int(i == 0)));
        }
        const std::optional<Outcome> outcome = outcomeNamed(row[OutcomeColumn]);
        if (!outcome)
            return refuse(ImportText::tr("непознат изход „%1“").arg(row[OutcomeColumn]));
        const std::optional<unsigned> help = helpNamed(row[HelpColumn]);
        if (!help)
            return refuse(ImportText::tr("непозната помощ „%1“").arg(row[HelpColumn]));
        const QDateTime finished = QDateTime::fromString(row[Finished], QStringLiteral("yyyy-MM-dd HH:mm"));
        if (!finished.isValid())
            return refuse(ImportText::tr("„%1“ не е дата и час (ГГГГ-ММ-ДД ЧЧ:ММ)").arg(row[Finished]));
        Attempt attempt{unguarded(row[Pupil]), numbers[0], *outcome, numbers[1], numbers[2], numbers[3], numbers[4],
                        finished, *help, row[Id]};
        if (attempt.id.isEmpty()) {
            // The same row gives the same id, however often the file is imported.
            static const QUuid space = QUuid::fromString(u"6c1f0c55-3f0e-4d55-9f3f-1b1e7a9c1a2e");
            attempt.id = QUuid::createUuidV5(space, rows[line].join(QChar(0x1f))).toString(QUuid::WithoutBraces);
        } else if (QUuid::fromString(attempt.id).isNull()) {
            return refuse(ImportText::tr("„%1“ не е номер на опит").arg(attempt.id));
        }
        result.attempts.push_back(attempt);
    }
    return result;
}

} // namespace knight
