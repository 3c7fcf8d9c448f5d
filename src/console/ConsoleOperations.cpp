#include "console/ConsoleOperations.h"

#include "console/ConsoleEvents.h"
#include "console/ConsoleState.h"
#include "console/ConsoleThreads.h"
#include "console/StationCommands.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "core/StationRegistry.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "widgets/ReportListModel.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace dbkeel {

namespace {

constexpr int kIpColumn = 1, kPortColumn = 2;
constexpr int kIpBufferBytes = 30;

const QString kCaption = QStringLiteral("提示");

constexpr std::chrono::milliseconds kBetweenComputers{10};

void pauseBetweenComputers()
{
    QThread::msleep(kBetweenComputers.count());
}

}  // namespace

QStringList ConsoleOperations::commandEntries()
{
    return {QStringLiteral("测试通讯"), QStringLiteral("获取计算机信息"), QStringLiteral("获取指定计算机进程"),
            QStringLiteral("启动指定程序"), QStringLiteral("通知")};
}

ConsoleOperations::ConsoleOperations(ReportListModel &computers, ReportListModel &processes, QObject *parent)
    : QObject(parent), m_computers(computers), m_processes(processes)
{
    connect(&consoleEvents(), &ConsoleEvents::processesReceived, this, &ConsoleOperations::showProcesses,
            Qt::QueuedConnection);
    m_sendPace.setInterval(kBetweenComputers);
    connect(&m_sendPace, &QTimer::timeout, this, &ConsoleOperations::sendNextPaced);
}

void ConsoleOperations::selectCommand(int entry)
{
    m_command = entry;
    m_state = {};
    m_state.sendEnabled = false;
    m_state.executeEnabled = true;
    if (entry == Notice) {
        m_state.messageEditEnabled = true;
        m_state.focusMessageEdit = true;
        m_state.chatVisible = true;
        m_state.processListVisible = false;
        m_state.sendEnabled = true;
        m_state.executeEnabled = false;
    }
    emit commandBoxChanged(m_state);
}

QList<ConsoleOperations::Target> ConsoleOperations::tickedComputers() const
{
    QList<Target> targets;
    for (int row = 0; row < m_computers.rowCount(); ++row) {
        if (m_computers.isChecked(row))
            targets.append({cutToGbkBytes(m_computers.itemText(row, kIpColumn), kIpBufferBytes - 1),
                            toInt(m_computers.itemText(row, kPortColumn))});
    }
    return targets;
}

void ConsoleOperations::sendToTicked(int code)
{
    for (const Target &target : tickedComputers())
        m_pacedSends.append({target, code});
    if (!m_sendPace.isActive())
        sendNextPaced();
}

void ConsoleOperations::sendNextPaced()
{
    if (m_pacedSends.isEmpty()) {
        m_sendPace.stop();
        return;
    }
    const PacedSend send = m_pacedSends.takeFirst();
    SendCommand(send.target.ip, send.target.port, send.code);
    if (!m_pacedSends.isEmpty() && !m_sendPace.isActive())
        m_sendPace.start();
}

void ConsoleOperations::execute()
{
    switch (m_command) {
    case TestLink: sendToTicked(stationcode::Test); break;
    case ComputerInfo: sendToTicked(stationcode::Connect); break;
    case ProcessList: sendToTicked(stationcode::ListProcesses); break;
    case StartProgram:
        for (const Target &target : tickedComputers()) {
            const QString program = prompt().chooseFile(fileRequestFor(QStringLiteral(".exe")));
            if (program.isEmpty())
                continue;
            setCommandText(program);
            SendCommand(target.ip, target.port, stationcode::StartProgram);
        }
        break;
    default: break;
    }
}

void ConsoleOperations::connectStations()
{
    if (PendingCommand.load() != 0) {
        prompt().message(kCaption, QStringLiteral("当前命令还没执行完毕,请稍后再试!"), PromptIcon::Exclamation);
        return;
    }
    PendingCommand = stationcode::Connect;
    consoleThreads().startWorker();
}

void ConsoleOperations::sendFile()
{
    const QString path = prompt().chooseFile(fileRequestFor(QStringLiteral(".ini")));
    if (path.isEmpty())
        return;
    setCommandText(path);
    if (consoleThreads().isWorkerRunning()) {
        prompt().message(kCaption, QStringLiteral("正在发送数据,请稍后再试!"), PromptIcon::Exclamation);
        return;
    }
    for (const RegistryEntry &entry : stationRegistry().entries())
        SendCommand(entry.station.ip, toInt(entry.station.port), stationcode::AnnounceFile);
    PendingCommand = stationcode::FileSent;
    consoleThreads().startWorker();
}

bool ConsoleOperations::sendMessage(const QString &message)
{
    if (m_command != Notice || message.isEmpty())
        return false;
    const QList<Target> targets = tickedComputers();
    if (targets.isEmpty()) {
        prompt().message(kCaption, QStringLiteral("请选择发信息的对象!!"));
        return false;
    }
    const QString data = chatText(localStation().name, message);
    for (const Target &target : targets) {
        sendMessageTo(target, data);
        pauseBetweenComputers();
    }
    return true;
}

void ConsoleOperations::sendMessageTo(const Target &target, const QString &data)
{
    const CommandPacket packet = CommandPacket::withText(stationcode::Message, data);
    if (sendPacket(target.ip, target.port, packet) > 0) {
        emit consoleEvents().chatAppended(data, 0);
        return;
    }
    if (!reopenStationChannel()) {
        emit consoleEvents().chatAppended(QStringLiteral("发送失败"), 0);
        return;
    }
    if (sendPacket(target.ip, target.port, packet) > 0)
        emit consoleEvents().chatAppended(data, 0);
}

void ConsoleOperations::shutdown()
{
    sendToTicked(stationcode::Shutdown);
}

void ConsoleOperations::restart()
{
    sendToTicked(stationcode::Restart);
}

void ConsoleOperations::syncTime()
{
    sendToTicked(stationcode::SetClock);
}

void ConsoleOperations::selectAll()
{
    m_computers.setAllChecked(true);
}

void ConsoleOperations::invertSelection()
{
    m_computers.invertChecks();
}

void ConsoleOperations::endProcess(int row)
{
    if (m_processes.rowCount() == 0 || row < 0 || row >= m_processes.rowCount())
        return;
    const PromptButton answer = prompt().message(
        kCaption, QStringLiteral("确定要结束该进程,若结束该进程可能会导致该程序无法正常运行!确定(继续),取消?"),
        PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel);
    if (answer != PromptButton::Ok)
        return;
    setCommandText(m_processes.itemText(row, 0));
    if (SendCommand(m_processes.itemText(row, 2), toInt(m_processes.itemText(row, 3)), stationcode::EndProcess) == 1)
        m_processes.deleteRow(row);
}

void ConsoleOperations::showProcesses(const QList<QStringList> &rows)
{
    m_processes.deleteAllRows();
    for (const QStringList &cells : rows) {
        const int row = m_processes.appendRow(cells.value(0));
        for (int column = 1; column < cells.size(); ++column)
            m_processes.setItemText(row, column, cells.at(column));
        m_processes.setTextColor(row, -1, listcolor::Blue);
    }
}

FileRequest ConsoleOperations::fileRequestFor(const QString &extension)
{
    FileRequest request;
    request.initialPath = joinPath(installationFolder(QStringLiteral("bin")), QStringLiteral("*") + extension);
    request.filter = QStringLiteral("open files (*%1)|*%1|ALL files (*.*)|*.*||").arg(extension);
    request.mode = FileRequest::Open;
    return request;
}

QString ConsoleOperations::installationFolder(const QString &sub)
{
    const QString programDirectory = databaseEntryField(hostEntry::ProgramDir, 0);
    if (programDirectory.isEmpty())
        return {};
    return joinPath(QFileInfo(QDir::cleanPath(programDirectory)).path(), sub);
}

}  // namespace dbkeel
