#include "stats/VehicleDataTransfer.h"

#include "core/Database.h"
#include "core/SharedDb.h"
#include "platform/Prompt.h"
#include "screens/ScreenStatus.h"
#include "stats/VehicleTransfer.h"

namespace dbkeel {

namespace {
const QString kNotice = QStringLiteral("提示");
}

VehicleDataTransfer::VehicleDataTransfer(ScreenStatus &status, Window window, QObject *parent)
    : QObject(parent), m_status(status), m_window(window), m_runner(this), m_connectString(connectString())
{
    connect(&m_runner, &JobRunner::statusChanged, &m_status, &ScreenStatus::setLeft);
    connect(&m_runner, &JobRunner::progressChanged, &m_status, &ScreenStatus::setProgress);
    connect(&m_runner, &JobRunner::finished, this, [this](bool, const QString &error) { end(error); });
}

void VehicleDataTransfer::exportData()
{
    if (isRunning())
        return;
    QString folder = prompt().chooseFolder(QStringLiteral("请选择保存文件目录:"));
    if (folder.isEmpty())
        return;
    if (m_window == Window::Design) {
        if (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
            folder.chop(1);
        prompt().message(QStringLiteral("提醒"),
                         QStringLiteral("为了确保您所导出的车型数据所对应字段一致,建议同时导出车型表结构!"));
    }
    const QString path = vehicleDataFilePath(folder);
    start([path](JobContext &job) {
        TransferReport report;
        exportVehicleTypes(job, path, report);
        return report;
    });
}

void VehicleDataTransfer::importData()
{
    if (isRunning())
        return;
    FileRequest request;
    request.initialPath = QStringLiteral("D:\\ZETRA\\SYSTEM\\CONFIG\\*.VEH");
    request.filter = QStringLiteral("车型数据文件 (*.VEH)|*.VEH|ALL files (*.*)|*.*||");
    request.defaultExtension = QStringLiteral("txt");
    const QString path = prompt().chooseFile(request);
    if (path.isEmpty())
        return;
    m_backup = prompt().message(QStringLiteral("询问"), QStringLiteral("是否需要备份原有车型数据?"),
                                PromptIcon::Question, PromptButtons::YesNo)
               == PromptButton::Yes;
    const QString backup = m_backup ? vehicleBackupPath() : QString();
    if (m_backup)
        prompt().message(kNotice, QStringLiteral("备份文件默认保存在以下目录:%1").arg(backup));
    start([path, backup](JobContext &job) {
        TransferReport report;
        // Without its backup the import does not clear anything: the backup is the way back.
        if (backup.isEmpty() || exportVehicleTypes(job, backup, report) || job.stopRequested()) {
            if (!job.stopRequested())
                importVehicleTypes(job, path, report);
        } else {
            report.warnings << QStringLiteral("备份失败,未导入车型数据");
        }
        return report;
    });
}

void VehicleDataTransfer::start(Work work)
{
    auto report = std::make_shared<TransferReport>();
    m_report = report;
    m_status.setProgressRange(0, int(vehicleTypeTables().size()));
    m_status.setProgress(0);
    // Without an open connection every table is skipped, and the status texts still run to the end.
    const QString connection = sharedDb().isOpen() ? m_connectString : QString();
    m_history.emplace(m_status);
    if (m_runner.start([work, report](JobContext &job) { *report = work(job); }, connection))
        emit runningChanged(true);
    else
        m_history.reset();
}

void VehicleDataTransfer::end(const QString &error)
{
    m_history.reset();
    emit runningChanged(false);
    for (const QString &warning : m_report->warnings)
        prompt().message(kNotice, warning, PromptIcon::Exclamation);
    if (!error.isEmpty())
        prompt().message(kNotice, QStringLiteral("连接数据库失败:") + error, PromptIcon::Exclamation);
    emit finished();
}

bool VehicleDataTransfer::stopAndWait(std::chrono::milliseconds limit)
{
    m_runner.stop();
    return m_runner.wait(limit);
}

}  // namespace dbkeel
