#pragma once
// What the console's threads tell the user-interface thread. Emitted from any thread; the window
// connects with queued connections and is the only one to touch its widgets.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace dbkeel {

class ConsoleEvents : public QObject {
    Q_OBJECT
signals:
    void chatAppended(const QString &text, int colour);      // 0 blue, 1 red
    void processesReceived(const QList<QStringList> &rows);  // name, computer, ip, port
    void sweepButtonsEnabled(bool enabled);                  // "连接", "执行", "发送文件"
    void registryRefreshed();                                // see announceRegistryChange
};

ConsoleEvents &consoleEvents();

}  // namespace dbkeel
