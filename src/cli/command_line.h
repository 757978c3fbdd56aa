// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/language.h"
#include "worksheet/worksheet.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace knight {

inline constexpr char programName[] = "knight-tour";

// What the command line asks for. The modes other than Window need no display.
struct CommandLine {
    enum class Mode { Window, Help, Version, Error, Complete, Export, Worksheet, Results, InitStore, ImportResults };

    Mode mode = Mode::Window;
    QString message;  // the help, the version or the error, one line for an error
    QString display;  // Qt's -display, when given
    QString platform; // Qt's -platform, when given
    QStringList files;
    QString walkSource; // Complete and Export: a file, or "-" for standard input
    QString exportFile; // Export: the .png or .pdf to write
    QString tourKind;   // Export: the caption of a kind, "1" .. "?"
    bool path = false;  // Export: with the path
    bool closed = false; // Complete: a closed tour
    QString worksheetFile;      // Worksheet: the .pdf to write
    WorksheetRequest worksheet; // Worksheet: its puzzles; closed is the one above
    bool seedGiven = false;     // Worksheet: --seed was given (else a random one, told)
    QString resultsFile;        // Results: the .csv to write, or "-"; ImportResults: the .csv to read
    QString store;              // --store: the results' file or server, when given
    std::optional<Language> language; // --lang, when given
};

// The arguments as the program received them, the program's name first. Qt's own options
// (-display, -platform, -style, ...) are accepted and left to Qt.
CommandLine parseCommandLine(const QStringList &arguments);

// Exit statuses shared by every mode.
inline constexpr int exitOk = 0;
inline constexpr int exitNoDisplay = 1;
inline constexpr int exitNoTour = 1;
inline constexpr int exitUsage = 2;
inline constexpr int exitUndecided = 3;

// --complete: the walk read from source, completed to a full tour on standard output; exit 3
// when the bound passes undecided.
inline constexpr std::chrono::milliseconds completeBound{5000};
int runComplete(const QString &source, std::chrono::milliseconds bound = completeBound, bool closed = false);

// --export: the picture of a tour, a walk or the empty board; needs a Qt GUI application
// (offscreen will do).
int runExport(const CommandLine &commandLine);

// --results: the class's results as CSV, in the language in use; exit 1 when they cannot be
// read or written.
int runResults(const QString &file, const QString &store = {});
// --init-store: the server's table and pupils' role made (again: nothing changed); exit 1 when
// the server refuses, 2 when the store is no server.
int runInitStore(const QString &store);
// --import-results: a computer's CSV added to the store in use; an attempt already there is
// not added again. Exit 1 when the file cannot be read or the store refuses.
int runImportResults(const QString &file, const QString &store);

// --worksheet: puzzles with their key as a PDF; needs a Qt GUI application (offscreen will do).
int runWorksheet(const CommandLine &commandLine);

} // namespace knight
