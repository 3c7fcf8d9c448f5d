#pragma once
// One running copy per user: a lock file claims the name, a local socket of the same name
// carries a later start's request to bring the running window forward.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace dbkeel {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `name` is made per user; $DBKEEL_INSTANCE replaces the default "Dbkeel".
    explicit SingleInstance(const QString &name = defaultName(), QObject *parent = nullptr);
    ~SingleInstance() override;

    static QString defaultName();
    QString key() const { return m_key; }

    // True when this process is the running copy: it holds the lock (and listens for later starts).
    bool claim();
    // Asks the running copy to come forward; true when it took the request (retries while it
    // is still starting, up to `timeoutMs`).
    bool notifyRunning(int timeoutMs = 3000);

signals:
    void activationRequested();

private:
    void acceptRequests();

    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

}  // namespace dbkeel
