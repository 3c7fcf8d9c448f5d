#pragma once
// The agent's log file: one line per event, "yyyy-MM-dd HH:mm:ss text", UTF-8, flushed at once.
// With a cap, a line that would take the file past it first moves the file to "<log>.1" (replacing
// an older one) and starts a new file, so the log never holds much more than twice the cap.

#include <QFile>
#include <QString>

namespace dbkeel::agent {

class AgentLog {
public:
    // False when the file cannot be opened for appending (its folder is created). `maxBytes` 0: no cap.
    bool open(const QString &path, qint64 maxBytes = 0);
    void write(const QString &text);

private:
    // Moves the file to "<log>.1" and opens a new one; when it cannot be moved, starts it over.
    void rotate();

    QFile m_file;
    qint64 m_maxBytes = 0;
};

}  // namespace dbkeel::agent
