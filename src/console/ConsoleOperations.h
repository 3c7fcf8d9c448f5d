#pragma once
// The console in the lower half of the main window, without its widgets: the command box's
// state, the buttons' actions on the ticked rows of the computer list, and the process list.
// The window forwards its controls' signals here and follows commandBoxChanged; ConsolePanel
// does that wiring.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace dbkeel {

class ReportListModel;
struct FileRequest;

// What the command box's selection enables and shows.
struct CommandBoxState {
    bool executeEnabled = true;
    bool sendEnabled = false;
    bool messageEditEnabled = false;
    bool chatVisible = false;
    bool processListVisible = true;
    bool focusMessageEdit = false;
};

class ConsoleOperations : public QObject {
    Q_OBJECT

public:
    enum Command { TestLink, ComputerInfo, ProcessList, StartProgram, Notice };
    static QStringList commandEntries();  // the command box's entries, in Command order

    // Works on the main window's computer list (column 1 IP, 2 port, checks) and process list.
    ConsoleOperations(ReportListModel &computers, ReportListModel &processes, QObject *parent = nullptr);

    // The command box's selection changed to `entry`.
    void selectCommand(int entry);
    CommandBoxState commandBoxState() const { return m_state; }

    void execute();          // "执行"
    void connectStations();  // "连接"
    void sendFile();         // "发送文件"
    // "发送": true when the message edit is to be cleared and focused (the message was handled).
    bool sendMessage(const QString &message);
    void shutdown();           // "关机"
    void restart();            // "重启"
    void syncTime();           // "同步时间"
    void selectAll();          // "全选"
    void invertSelection();    // "反选"
    void endProcess(int row);  // double-click on the process list

    // The rows of a 1011 reply replace the process list, in blue.
    void showProcesses(const QList<QStringList> &rows);

    // The file dialog of "启动指定程序", "发送文件" and the host library update for an extension such as ".exe".
    static FileRequest fileRequestFor(const QString &extension);
    // Where the installation's programs live ("D:\ZETRA\SYSTEM\<sub>"): <sub> beside the program
    // directory of the host configuration.
    static QString installationFolder(const QString &sub);

signals:
    void commandBoxChanged(const CommandBoxState &state);

private:
    struct Target {
        QString ip;
        int port = 0;
    };
    struct PacedSend {
        Target target;
        int code = 0;
    };
    QList<Target> tickedComputers() const;
    // Sends `code` to each ticked computer, 10 ms apart: the first at once, the others from the event
    // loop, so that a whole line of computers never holds the window.
    void sendToTicked(int code);
    void sendNextPaced();
    void sendMessageTo(const Target &target, const QString &data);

    ReportListModel &m_computers;
    ReportListModel &m_processes;
    QList<PacedSend> m_pacedSends;
    QTimer m_sendPace;
    int m_command = TestLink;
    CommandBoxState m_state;
};

}  // namespace dbkeel
