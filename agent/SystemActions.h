#pragma once
// What the agent does to its computer. No command line ever goes through a shell.

#include "agent/Reason.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace dbkeel::agent {

// The names of the running processes (the file name of each one's program), each once, sorted.
QStringList processNames();
// Asks every process of that name (except this one) to end; the number asked.
int endProcesses(const QString &name);
// The program a start request may run: an existing executable regular file whose real path lies
// inside one of `folders`. The file is opened first and everything is checked on the opened file,
// which is also the file started, so a name swapped for a link after the check changes nothing.
// Refused: a bare name or a relative path (never looked up in PATH or the current folder), a path
// holding a ".." component, and a path whose real path cannot be found in full.
class ProgramChoice {
public:
    ProgramChoice() = default;
    ProgramChoice(ProgramChoice &&other) noexcept;
    ProgramChoice &operator=(ProgramChoice &&other) noexcept;
    ~ProgramChoice();

    static ProgramChoice refused(const Reason &why);

    QString path;         // the opened file's real path; empty when refused
    Reason refusal;       // why it may not be started; empty when it may
    int descriptor = -1;  // the opened file (O_PATH), owned
};
ProgramChoice chooseProgram(const QString &requested, const QStringList &folders);
// Starts the chosen file with no arguments, detached, with this process's environment and no
// ambient capabilities. Why it failed, empty when it started.
Reason startProgram(const ProgramChoice &program);
// Sets the system clock to `localTime`. Why it failed, empty when it was set.
Reason setClock(const QDateTime &localTime);
// Shuts the computer down, or restarts it. Why it failed, empty when the shutdown is under way.
Reason shutDown(bool restart);

}  // namespace dbkeel::agent
