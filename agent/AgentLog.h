#pragma once
// The agent's log file: one line per event, "yyyy-MM-dd HH:mm:ss text", UTF-8, flushed at once.
// With a cap, a line that would take the file past it first moves the file to "<log>.1" (replacing
// an older one) and starts a new file, so the log never holds much more than twice the cap while
// it can be moved.

#include <QFile>
#include <QString>

namespace dbkeel::agent {

class AgentLog {
public:
    // False with error() when the file cannot be opened for appending or is no regular file (a FIFO
    // would hold the agent until something reads it); its folder is created. `maxBytes` 0: no cap.
    bool open(const QString &path, qint64 maxBytes = 0);
    // The whole line or false with error() (the system's reason); a line cut short is taken back.
    bool write(const QString &text);
    QString error() const { return m_error; }

private:
    bool append(const QByteArray &bytes);
    // Moves the log to "<log>.1" and starts it anew. When that cannot be done whole (a "<log>.1" that
    // is no regular file, no room for the copy across volumes), the log stays as it is, says why, and
    // is moved next when it has grown by another cap.
    void rotate();
    QString moveAside(const QString &older);  // empty when moved

    QFile m_file;
    qint64 m_maxBytes = 0;
    qint64 m_rotateAt = 0;  // the size past which the next line moves the log
    QString m_error;
};

}  // namespace dbkeel::agent
