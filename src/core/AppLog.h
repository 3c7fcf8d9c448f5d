#pragma once
// The main window's log: AddLog posts an entry from any thread, the window's LogBuffer keeps the
// log box's text.

#include <QMutex>
#include <QObject>
#include <QString>

namespace dbkeel {

// Appends an entry to the log box; plain=false gives a starred entry. Callable from any thread.
void AddLog(const QString &text, bool plain);

// Every AddLog is announced here; the main window connects (queued across threads).
class LogHub : public QObject {
    Q_OBJECT
signals:
    void entryAdded(const QString &text, bool plain);
};
LogHub &logHub();

// The log box's text: each entry is a header "=======%06d==L[%04d]======\r\n" (counter, length of the
// entry in GBK bytes), "★" for a starred entry, the entry and "\r\n", above the earlier entries. When the
// entry and the earlier entries would exceed kMaxBodyBytes, the earlier entries are dropped and the
// numbering restarts with the next entry.
class LogBuffer {
public:
    static constexpr int kMaxBodyBytes = 99999;

    void add(const QString &text, bool plain);
    QString text() const;
    int counter() const;

private:
    mutable QMutex m_mutex;
    QString m_text;
    int m_textBytes = 0;  // GBK length of m_text
    int m_counter = 0;
};

}  // namespace dbkeel
