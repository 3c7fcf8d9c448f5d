#pragma once
// Why the agent did not do a request, in two languages: its own log keeps the English it has always
// written, the console's chat shows the operator Chinese.

#include <QString>

namespace dbkeel::agent {

struct Reason {
    QString logged;  // English, for the agent's log
    QString shown;   // Chinese, for the 1012 chat line

    bool isEmpty() const { return logged.isEmpty(); }
};

// The agent's own reasons.
enum class Why {
    NoProgramNamed,
    NoProgramFolder,
    NotAbsolute,
    HoldsDotDot,
    NoSuchFile,
    CannotResolve,
    OutsideFolders,
    NotRegularFile,
    NotExecutable,
    NotATime,
    ShutdownNotRun,
    NoSuchProcess,
};

Reason reason(Why why);
// A system call's errno: the system's text for the log; for the chat the table's Chinese, or, for an
// errno without an entry, "系统错误" with the system's text in parentheses.
Reason systemReason(int error);
// `why` followed by the system's reason, as "cannot be resolved: Permission denied".
Reason reason(Why why, int error);

}  // namespace dbkeel::agent
