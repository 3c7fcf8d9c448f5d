#pragma once
// The main window "数据库管理工具": the menu, the tray icon, the client area with the tree,
// the lists and the console, the deferred start-up on the first tick of timer 1, the
// computer-list refresh of timer 4, login, and the exit sequence.

#include "core/AppLog.h"
#include "core/DbWatchdog.h"
#include "extensions/ExtensionComponent.h"
#include "screens/ScreenHost.h"

#include <QBasicTimer>
#include <QMainWindow>
#include <QTimer>

#include <chrono>
#include <memory>

class QSystemTrayIcon;
class QTreeWidgetItem;

namespace dbkeel {

class CommandTable;
class MainWindowPanel;
struct LineTree;

// The bounds of the exit sequence's waits.
struct ExitWaits {
    std::chrono::milliseconds worker{60000};
    std::chrono::milliseconds receiveLoop{10000};
};

class MainWindow : public QMainWindow, public ScreenHost {
    Q_OBJECT

public:
    // Runs the initialisation steps; the window shows itself maximised.
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The window while it lives (the installation's MainWindow), else null.
    static MainWindow *instance();

    MainWindowPanel *panel() const { return m_panel; }
    CommandTable &commands() const { return *m_commands; }
    const LogBuffer &log() const { return m_log; }
    bool startupDone() const { return m_startupDone; }
    bool exited() const { return m_exited; }

    // The window's operations that other screens reach.
    void login();
    void loadLineTree();
    // Adds the nodes of `tree` that `items` does not hold yet (clearing the widget first when it
    // holds none).
    void showTreeNodes(const LineTree &tree, QList<QTreeWidgetItem *> &items);
    void showCounts();
    // ScreenHost
    QWidget *owner() override { return this; }
    // After the line configuration closed with OK: device and item lists cleared, tree and counts reloaded.
    void reloadLineLayout() override;
    void loadStationDevices(int lineId, int stationId);
    void loadDeviceItems(int devId);
    void refreshComputerList();
    void chatAppend(const QString &text, int colour);
    // The exit sequence; the window closes at its end.
    void exitProgram();
    // The cancel action (Esc, the close box): asks first, exits on OK.
    void requestExit();
    // Brings the window forward, restored when minimised.
    void bringForward();

protected:
    void timerEvent(QTimerEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void initialise();
    void showFullSize();
    void loadHostLibrary();
    // False, after one message that names the system directory, the data source it needs and the
    // command that makes the demo installation, when the host configuration file is missing.
    bool checkHostConfiguration();
    void openStationNetwork();
    void buildMenu();
    void setUpTray();
    void connectSignals();
    void deferredStartup();
    void loadConfigManager();
    void openDatabase();
    void startThreads();
    void loadBackupManager();
    void showSystemConfig();
    void showConfigManager();
    void startStandardsProgram();
    void showAbout();
    void onTreeSelection();
    void onDeviceClicked();
    void addLogEntry(const QString &text, bool plain);
    void showLog();  // the log box redrawn from the log, once for a burst of entries

    MainWindowPanel *m_panel = nullptr;
    CommandTable *m_commands = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    QBasicTimer m_startupTimer;
    LogBuffer m_log;
    QTimer m_logRedraw;  // single shot, 0 ms: runs showLog after the entries queued with it
    QString m_logShown;  // the log box's text
    ExtensionComponent m_configManager, m_backupManager;
    bool m_configManagerInitialised = false;
    DbkeelConnectionControl m_connectionControl{};
    UserRecord m_user{};  // the login box's record; level -1 until a login filled it
    std::unique_ptr<DbWatchdog> m_watchdog;
    ExitWaits m_exitWaits;
    bool m_startupDone = false;
    bool m_hostConfigMissing = false;  // said so once at start: no second message about the database
    bool m_exiting = false, m_exited = false;
};

// The program's icon, drawn in code (window, tray and About box).
QIcon programIcon();

}  // namespace dbkeel
