#pragma once
// What the agent does to its computer. No command line ever goes through a shell.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace dbkeel::agent {

// The names of the running processes (the file name of each one's program), each once, sorted.
QStringList processNames();
// Asks every process of that name (except this one) to end; the number asked.
int endProcesses(const QString &name);
// The program a start request may run: the canonical path of an existing executable regular file
// inside one of `folders` (symbolic links and ".." resolved before that is checked). A bare name or
// a relative path is refused, never looked up in PATH or the current folder.
struct ProgramChoice {
    QString path;     // canonical; empty when refused
    QString refusal;  // why it may not be started; empty when it may
};
ProgramChoice chooseProgram(const QString &requested, const QStringList &folders);
// Starts the program at the absolute `path` with no arguments, detached. An error text on failure.
QString startProgram(const QString &path);
// Sets the system clock to `localTime`. An error text on failure.
QString setClock(const QDateTime &localTime);
// Shuts the computer down, or restarts it. An error text on failure.
QString shutDown(bool restart);

}  // namespace dbkeel::agent
