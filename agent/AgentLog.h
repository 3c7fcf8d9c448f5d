#pragma once
// The agent's log file: one line per event, "yyyy-MM-dd HH:mm:ss text", UTF-8, flushed at once.

#include <QFile>
#include <QString>

namespace dbkeel::agent {

class AgentLog {
public:
    // False when the file cannot be opened for appending (its folder is created).
    bool open(const QString &path);
    void write(const QString &text);

private:
    QFile m_file;
};

}  // namespace dbkeel::agent
