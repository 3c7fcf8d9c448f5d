#pragma once
// The vehicle-type data buttons of the data window and the design window: choose the file, ask for
// the backup, and run the export or import on a worker while the window's status line and progress
// bar follow it. The window does not close while the worker runs.

#include "screens/HistoryNotice.h"
#include "screens/JobRunner.h"
#include "stats/VehicleTransfer.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace dbkeel {

class ScreenStatus;

class VehicleDataTransfer : public QObject {
    Q_OBJECT

public:
    // The design window removes a trailing separator of the chosen folder and adds a note.
    enum class Window { Data, Design };
    static constexpr std::chrono::seconds kCloseWait{10};

    VehicleDataTransfer(ScreenStatus &status, Window window, QObject *parent = nullptr);

    // The worker's own connection (default: the program's connect string).
    void setConnectString(const QString &connectString) { m_connectString = connectString; }

    // "导出车型": a folder, then the export into VehicleInfo.VEH.
    void exportData();
    // "导入车型": a file, the backup question, then (backup and) import.
    void importData();
    bool isRunning() const { return m_runner.isRunning(); }
    bool backupChosen() const { return m_backup; }
    // Closing: asks the worker to stop and waits for it; true when none runs any more.
    bool stopAndWait(std::chrono::milliseconds limit = kCloseWait);

signals:
    void runningChanged(bool running);
    void finished();

private:
    using Work = std::function<TransferReport(JobContext &)>;
    void start(Work work);
    void end(const QString &error);

    ScreenStatus &m_status;
    const Window m_window;
    JobRunner m_runner;
    QString m_connectString;
    bool m_backup = false;
    std::shared_ptr<TransferReport> m_report;  // written by the worker, read once it has ended
    std::optional<HistoryInScreen> m_history;  // from the start of a job to its end
};

}  // namespace dbkeel
