#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/CommandTable.h"
#include "app/MainWindowPanel.h"
#include "app/SystemConfigDialog.h"
#include "console/ConsoleEvents.h"
#include "console/ConsoleState.h"
#include "console/ConsoleThreads.h"
#include "console/StationCommands.h"
#include "core/AppConfig.h"
#include "core/AppState.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "core/LineTree.h"
#include "core/SchemaUpgrade.h"
#include "core/SharedDb.h"
#include "extensions/SharedConnectionControl.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "widgets/ListColor.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QTimerEvent>
#include <QTreeWidget>

namespace dbkeel {

namespace {

constexpr int kTimerPeriodMs = 100;
constexpr int kAllChannels = 15;
const QString kTitle = QStringLiteral("数据库管理工具");
const QString kProgramName = QStringLiteral("Dbkeel");

MainWindow *currentWindow = nullptr;

// The tree's node pictures: roots and lines as folders, stations and computers as computers.
QIcon treeIcon(int bitmap)
{
    const QStyle *style = QApplication::style();
    return style->standardIcon(bitmap == treebitmap::Station ? QStyle::SP_ComputerIcon
                               : bitmap == treebitmap::Root  ? QStyle::SP_DriveNetIcon
                                                             : QStyle::SP_DirIcon);
}

}  // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal w = size, h = size / 5.0;
        QLinearGradient body(0, 0, w, 0);
        body.setColorAt(0, QColor(30, 90, 200));
        body.setColorAt(1, QColor(90, 160, 240));
        p.setPen(QPen(QColor(20, 50, 130), size / 16.0));
        for (int disc = 2; disc >= 0; --disc) {  // three stacked discs, a database drum
            const qreal top = h * 0.6 + disc * h * 1.3;
            p.setBrush(body);
            p.drawRect(QRectF(w * 0.1, top + h / 2, w * 0.8, h * 1.3));
            p.drawEllipse(QRectF(w * 0.1, top + h * 1.3, w * 0.8, h));
            p.setBrush(QColor(170, 210, 255));
            p.drawEllipse(QRectF(w * 0.1, top, w * 0.8, h));
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    m_user.level = -1;
    initialise();
}

MainWindow::~MainWindow()
{
    if (currentWindow == this)
        currentWindow = nullptr;
}

MainWindow *MainWindow::instance()
{
    return currentWindow;
}

void MainWindow::initialise()
{
    currentWindow = this;
    DbReady = 0;
    ExitRequested = 0;
    setObjectName(QStringLiteral("mainWindow"));
    connect(&logHub(), &LogHub::entryAdded, this, &MainWindow::addLogEntry);
    m_logRedraw.setSingleShot(true);
    m_logRedraw.setInterval(0);
    connect(&m_logRedraw, &QTimer::timeout, this, &MainWindow::showLog);
    loadHostLibrary();
    RegisterProgramVersion();
    ReadConfig();
    openStationNetwork();
    buildMenu();
    setWindowIcon(programIcon());

    m_panel = new MainWindowPanel(this);
    setCentralWidget(m_panel);
    m_panel->attachLayout();
    connectSignals();

    m_startupTimer.start(kTimerPeriodMs, this);
    m_commands->enableMenus(0, false);
    setWindowTitle(kTitle);
    showFullSize();
    m_panel->setUpListColumns();  // from the widths the lists open with
    setUpTray();
}

void MainWindow::loadHostLibrary()
{
    const int loaded = hostLib().loadInstalled(1);
    if (loaded < 0)  // missing, or lacking an export (whatever it has stays bound)
        prompt().message(kProgramName, QStringLiteral("HostCfg.dll 加载错误或者没有该文件！"));
    if (loaded == -1)
        return;
    hostLib().getHostCfg(hostConfig());
    hostLib().postLog(toGbk(kProgramName));
    m_hostConfigMissing = !checkHostConfiguration();
}

bool MainWindow::checkHostConfiguration()
{
    const QString file = joinPath(systemDirectory(), QStringLiteral("HostCfg.ini"));
    if (QFileInfo::exists(file))
        return true;
    prompt().message(kProgramName,
                     QStringLiteral("没有找到主机配置文件 %1。\n"
                                    "系统目录是 %2 (环境变量 DBKEEL_SYSDIR 可另指定);"
                                    "主机配置的第0项(或第1项)须写明数据库的ODBC数据源名称。\n\n"
                                    "试用演示安装(数据源 DbkeelDemo, 登录 admin / admin):\n"
                                    "    dbkeel-make-demo --user-dsn ~/.local/share/dbkeel")
                         .arg(file, systemDirectory()),
                     PromptIcon::Exclamation);
    AddLog(QStringLiteral("没有主机配置文件: %1").arg(file), false);
    return false;
}

void MainWindow::openStationNetwork()
{
    if (openStationChannel() == 0)
        AddLog(QStringLiteral("开网络端口失败"), true);
}

void MainWindow::buildMenu()
{
    m_commands = new CommandTable(*this);
    m_commands->setHandler(command::Login, [this] { login(); });
    m_commands->setHandler(command::SystemConfig, [this] { showSystemConfig(); });
    m_commands->setHandler(command::StationConfigManager, [this] { showConfigManager(); });
    m_commands->setHandler(command::Exit, [this] { exitProgram(); });
    m_commands->setHandler(command::OneKeyRelations, [] {});
    m_commands->setHandler(command::ClearDuplicates, [] {
        prompt().message(QStringLiteral("提示"), QStringLiteral("暂不支持!"), PromptIcon::Exclamation);
    });
    m_commands->setHandler(command::BackupManager, [this] {
        if (m_backupManager.isLoaded())
            m_backupManager.show(5);
    });
    m_commands->setHandler(command::StandardsProgram, [this] { startStandardsProgram(); });
    m_commands->setHandler(command::About, [this] { showAbout(); });
    m_commands->buildMenu(menuBar());
}

void MainWindow::setUpTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(programIcon(), this);
    m_tray->setToolTip(kTitle);
    auto *menu = new QMenu(kTitle, this);
    QAction *show = menu->addAction(QStringLiteral("显示"));
    show->setObjectName(QStringLiteral("command%1").arg(command::TrayShow));
    connect(show, &QAction::triggered, this, &MainWindow::bringForward);
    m_tray->setContextMenu(menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            bringForward();
    });
    m_tray->show();
}

void MainWindow::connectSignals()
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &MainWindow::requestExit);
    connect(m_panel->exitButton(), &QPushButton::clicked, this, &MainWindow::exitProgram);
    connect(m_panel->lineTree(), &QTreeWidget::itemSelectionChanged, this, &MainWindow::onTreeSelection);
    connect(m_panel->deviceList(), &QAbstractItemView::clicked, this, &MainWindow::onDeviceClicked);
    ConsoleEvents &events = consoleEvents();
    connect(&events, &ConsoleEvents::chatAppended, this, &MainWindow::chatAppend);
    // The computer list follows the worker's event instead of a timer polling RegistryRefreshed.
    connect(&events, &ConsoleEvents::registryRefreshed, this, [this] {
        if (RegistryRefreshed.exchange(0) == 1)
            refreshComputerList();
    });
}

void MainWindow::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_startupTimer.timerId()) {
        m_startupTimer.stop();
        deferredStartup();
    } else {
        QMainWindow::timerEvent(event);
    }
}

void MainWindow::deferredStartup()
{
    loadConfigManager();
    openDatabase();
    loadLineTree();
    showCounts();
    startThreads();
    m_panel->processList()->hide();
    m_panel->chatBox()->show();  // the chat box shares the place
    loadBackupManager();
    m_startupDone = true;
}

void MainWindow::loadConfigManager()
{
    if (!m_configManager.load(hostEntryPath(hostEntry::ConfigManager)))
        hostLib().postLog(toGbk(QStringLiteral("加载配置管理工具失败")));
    if (!m_configManager.isLoaded())
        m_commands->enableMenus(command::StationConfigManager, false);
}

void MainWindow::openDatabase()
{
    QString error;
    if (OpenDb(error) == 1) {
        DbReady = 1;
        runUpgradeGroup1(sharedDb());
        return;
    }
    if (!m_hostConfigMissing)
        prompt().message(QStringLiteral("提示"), error, PromptIcon::Exclamation);
    AddLog(QStringLiteral("连接数据库失败!!!"), false);
}

void MainWindow::startThreads()
{
    consoleThreads().startReceiveLoop();
    consoleThreads().startWorker();
    m_watchdog = std::make_unique<DbWatchdog>();
    m_watchdog->start();
}

void MainWindow::loadBackupManager()
{
    const QString path = joinPath(hostEntryPath(hostEntry::ExtensionDir), QStringLiteral("DbBackUp.MANAGE"));
    if (!m_backupManager.load(path))
        return;
    m_connectionControl = sharedConnectionControl(m_watchdog.get());  // the watchdog is held during a restore
    m_backupManager.init(this, &m_connectionControl, 0);
}

void MainWindow::login()
{
    const QString path = hostEntryPath(hostEntry::LoginBox);
    ExtensionComponent loginBox;
    if (!loginBox.load(path)) {
        const QString missing = path.isEmpty()
                                    ? QStringLiteral("主机配置中没有密码框组件的路径(第%1项)").arg(hostEntry::LoginBox)
                                    : QStringLiteral("密码框组件不存在:%1").arg(path);
        prompt().message(kProgramName, missing, PromptIcon::Exclamation);
        return;
    }
    UserRecord &user = m_user;
    const bool success = loginBox.doModal(&user) != 0;
    if (!success)
        user.level = 1000;
    loginBox.stop();
    loginBox.unload();
    if (!success || user.level < 0)
        return;
    UserLevel = static_cast<qint16>(user.level);
    m_commands->enableMenus(0, true);
    if (m_configManager.isLoaded())
        m_commands->enableMenus(command::StationConfigManager, true);
    setWindowTitle(QStringLiteral("Dbkeel--%1[%2]%3")
                       .arg(fromGbk(user.userId), fromGbk(user.displayText), QString::number(user.level)));
}

void MainWindow::showSystemConfig()
{
    SystemConfigDialog dialog(this);
    if (prompt().runModal(dialog) == QDialog::Accepted)
        prompt().message(QStringLiteral("提示"), QStringLiteral("保存成功,请重新启动程序!"), PromptIcon::Exclamation);
}

void MainWindow::showConfigManager()
{
    if (!m_configManager.isLoaded())
        return;
    const QRect frame = frameGeometry();
    if (!m_configManagerInitialised) {
        QByteArray block = initRecord(frame, this, 2, 1);
        m_configManager.init(block.data());
        m_configManagerInitialised = true;
    }
    m_configManager.show(1, frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1);
}

void MainWindow::startStandardsProgram()
{
    const QString program = hostEntryPath(hostEntry::StandardsProgram);
    if (!program.isEmpty())
        QProcess::startDetached(program, standardsProgramArguments(frameGeometry()));
}

void MainWindow::showAbout()
{
    AboutBox about(this);
    prompt().runModal(about);
}

void MainWindow::addLogEntry(const QString &text, bool plain)
{
    m_log.add(text, plain);
    // A sweep of a full line logs hundreds of entries in bursts: the box is laid out once per burst.
    if (!m_logRedraw.isActive())
        m_logRedraw.start();
}

void MainWindow::showLog()
{
    if (!m_panel)
        return;
    QString shown = m_log.text();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QPlainTextEdit *box = m_panel->logBox();
    // New entries stand above the earlier ones: only they are laid out, unless the earlier ones were dropped.
    if (!m_logShown.isEmpty() && shown.endsWith(m_logShown))
        QTextCursor(box->document()).insertText(shown.left(shown.size() - m_logShown.size()));
    else
        box->setPlainText(shown);
    m_logShown = shown;
    box->moveCursor(QTextCursor::Start);  // the newest entry is on top
}

void MainWindow::chatAppend(const QString &text, int colour)
{
    QColor ink;
    if (colour == 0)
        ink = QColor(0, 0, 255);
    else if (colour == 1)
        ink = QColor(255, 0, 0);
    else
        return;
    QTextEdit *chat = m_panel->chatBox();
    QTextCursor cursor = chat->textCursor();
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(ink);
    cursor.insertText(text + u'\n', format);
    chat->setTextCursor(cursor);
    chat->ensureCursorVisible();
}

void MainWindow::refreshComputerList()
{
    ReportListView *list = m_panel->computerList();
    RefreshComputerList(*list->reportModel(), list->viewport()->width());
    list->setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    list->setListTextColor(listcolor::Blue);
}

void MainWindow::loadLineTree()
{
    QList<QTreeWidgetItem *> items;  // the widget's items of the nodes shown so far
    QTreeWidget *widget = m_panel->lineTree();
    const std::optional<LineTree> tree = LoadLineTree(sharedDb(), [&](const LineTree &built) {
        showTreeNodes(built, items);
        if (built.selected >= 0)
            widget->setCurrentItem(items[built.selected]);  // logs the selection at once
        widget->scrollToItem(items[built.visibleRoot]);
    });
    if (tree)
        showTreeNodes(*tree, items);
}

void MainWindow::showTreeNodes(const LineTree &tree, QList<QTreeWidgetItem *> &items)
{
    QTreeWidget *widget = m_panel->lineTree();
    if (items.isEmpty())
        widget->clear();
    for (qsizetype i = items.size(); i < tree.nodes.size(); ++i) {
        const TreeNode &node = tree.nodes[i];
        auto *item = node.parent < 0 ? new QTreeWidgetItem(widget) : new QTreeWidgetItem(items[node.parent]);
        item->setText(0, node.text);
        item->setIcon(0, treeIcon(node.bitmap));
        item->setData(0, Qt::UserRole, QVariant::fromValue(node.id));
        items << item;
    }
    widget->expandAll();
}

void MainWindow::reloadLineLayout()
{
    m_panel->deviceList()->reportModel()->deleteAllRows();
    m_panel->itemList()->reportModel()->deleteAllRows();
    loadLineTree();  // builds the registry again
    refreshComputerList();
    showCounts();
}

void MainWindow::showCounts()
{
    ShowCounts(sharedDb());
}

void MainWindow::onTreeSelection()
{
    QTreeWidgetItem *selected = m_panel->lineTree()->currentItem();
    if (!selected)
        return;
    const QString parentText = selected->parent() ? selected->parent()->text(0) : QString();
    const TreeSelection ids = selectionIds(selected->text(0), parentText);
    m_panel->deviceList()->setRedraw(false);
    loadStationDevices(ids.lineId, ids.stationId);
    AddLog(parentText + selected->text(0), true);
    m_panel->deviceList()->setRedraw(true);
}

void MainWindow::loadStationDevices(int lineId, int stationId)
{
    LoadStationDevices(sharedDb(), lineId, stationId, *m_panel->deviceList()->reportModel(),
                       *m_panel->itemList()->reportModel());
}

void MainWindow::onDeviceClicked()
{
    ReportListView *devices = m_panel->deviceList();
    if (devices->reportModel()->rowCount() == 0)
        return;
    loadDeviceItems(deviceIdOfRow(*devices->reportModel(), devices->selectedRow()));
}

void MainWindow::loadDeviceItems(int devId)
{
    LoadDeviceItems(sharedDb(), devId, *m_panel->itemList()->reportModel());
}

void MainWindow::requestExit()
{
    if (m_exiting)
        return;
    const PromptButton answer = prompt().message(QStringLiteral("提示"),
                                                 QStringLiteral("确定要退出数据库管理工具?确定(退出),取消"),
                                                 PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel);
    if (answer == PromptButton::Ok)
        exitProgram();
}

void MainWindow::exitProgram()
{
    if (m_exiting)
        return;
    m_exiting = true;
    m_startupTimer.stop();
    m_panel->lineTree()->clear();
    m_panel->lineTree()->setEnabled(false);
    const bool workerRunning = consoleThreads().isWorkerRunning();  // ExitRequested ends it at once
    ExitRequested = 1;
    if (workerRunning) {
        QPushButton *exitButton = m_panel->exitButton();
        exitButton->setEnabled(false);
        exitButton->setText(QStringLiteral("正在退出"));
        consoleThreads().stopWorker(m_exitWaits.worker);
    }
    if (consoleThreads().isReceiveLoopRunning())
        consoleThreads().stopReceiveLoop(m_exitWaits.receiveLoop);
    if (m_configManager.isLoaded()) {
        m_configManager.stop();
        m_configManager.release();
        m_configManager.unload();
    }
    if (m_watchdog)
        m_watchdog->stop();  // woken by ExitRequested; stopped before the connection closes
    hostLib().closeNet(kAllChannels);
    CloseDb();
    if (m_backupManager.isLoaded()) {
        m_backupManager.release();
        m_backupManager.unload();
    }
    hostLib().unload();
    if (m_tray)
        m_tray->hide();
    m_exited = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_exited) {
        event->accept();
        return;
    }
    event->ignore();
    requestExit();
}

void MainWindow::showFullSize()
{
    // The whole work area first: without a window manager "maximised" changes nothing.
    if (const QScreen *where = screen())
        setGeometry(where->availableGeometry());
    showMaximized();
}

void MainWindow::bringForward()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);  // back to maximised when it was
    show();
    raise();
    activateWindow();
}

}  // namespace dbkeel
