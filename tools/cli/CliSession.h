#pragma once
// What every command of dbkeel-cli shares: its output streams and the installation it works on.

#include "core/Database.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace dbkeel::cli {

// Exit codes of every command.
enum Exit : int {
    Succeeded = 0,
    PartFailed = 1,    // the command ran, one of its parts failed
    CouldNotStart = 2  // bad arguments, no host configuration, no database
};

QTextStream &out();
QTextStream &err();

// Loads the host library from the system directory, reads DBODBCTYPE from dbtool.ini of the
// program directory and opens the shared connection on database entry 0 or 1 as the program does
// (OpenDb, with `textCheck`). False with the reason in `error`.
bool openInstallation(QString &error, TextCheck textCheck = TextCheck::Refuse);

// One subcommand: `run` receives the arguments after its name and answers an Exit code.
struct Command {
    const char *name;
    const char *usage;  // one line for --help, after "dbkeel-cli "
    int (*run)(const QStringList &arguments);
};

// The commands, each in its own file.
int runIndex(const QStringList &arguments);    // IndexCommand.cpp
int runDoctor(const QStringList &arguments);   // DoctorCommand.cpp
int runHistory(const QStringList &arguments);  // HistoryCommand.cpp

}  // namespace dbkeel::cli
