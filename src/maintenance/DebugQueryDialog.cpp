#include "maintenance/DebugQueryDialog.h"

#include "screens/ScreenControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace dbkeel {

namespace {
ReportListView *configured(ReportListView *list)
{
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);
    list->setListBackgroundColor(listcolor::PaleGreen);
    return list;
}
}  // namespace

DebugQueryDialog::DebugQueryDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(1000, 700), QStringLiteral("调试查询(只用于开发调试使用)")),
      m_editor(this)  // its browser's runner keeps the screen open
{
    setObjectName(QStringLiteral("DebugQueryDialog"));
    m_editor.open();
    placeQueue();
    placeInspection();
    placeBrowser();
    QPushButton *quit = placeButton(this, {900, 670, 90, 26}, QStringLiteral("quitButton"), QStringLiteral("退出"),
                                    QStringLiteral("退出"));
    connect(quit, &QPushButton::clicked, this, &DebugQueryDialog::reject);

    connect(&m_continuousTimer, &QTimer::timeout, &m_editor, &DebugQueryEditor::tick);
    m_continuousTimer.start(800);
    setWindowState(Qt::WindowMaximized);
    attachLayout();
}

ReportListView *DebugQueryDialog::placeList(const QRect &geometry, const QString &objectName, DebugList which)
{
    auto *list = configured(placeControl<ReportListView>(this, geometry, objectName));
    m_editor.setColumns(which, list->width() - 2 * list->frameWidth());
    list->setModel(&m_editor.list(which));
    return list;
}

void DebugQueryDialog::placeQueue()
{
    ReportListView *queue = placeList({10, 10, 480, 220}, QStringLiteral("queueList"), DebugList::Queue);
    queue->setToolTip(QStringLiteral("队列车辆"));
    auto *today = placeControl<QCheckBox>(this, {10, 236, 60, 22}, QStringLiteral("todayBox"), QStringLiteral("当天"));
    auto *motorcycles = placeControl<QCheckBox>(this, {75, 236, 60, 22}, QStringLiteral("motorcycleBox"),
                                                QStringLiteral("摩托"));
    auto *cars = placeControl<QCheckBox>(this, {140, 236, 60, 22}, QStringLiteral("carBox"), QStringLiteral("汽车"));
    QPushButton *refresh = placeButton(this, {210, 234, 70, 26}, QStringLiteral("refreshButton"),
                                       QStringLiteral("刷新"), QStringLiteral("刷新队列信息"));
    auto *status = placeControl<QLabel>(this, {290, 236, 200, 22}, QStringLiteral("queueStatus"));

    connect(refresh, &QPushButton::clicked, this, [this, today, motorcycles, cars] {
        const auto *plate = findChild<QLineEdit *>(QStringLiteral("plate"));
        m_editor.refreshQueue(
            {plate->text(), today->isChecked(), motorcycles->isChecked(), cars->isChecked(), QDate::currentDate()});
    });
    connect(queue, &QAbstractItemView::clicked, this, [this, queue] { m_editor.chooseQueueRow(queue->selectedRow()); });
    connect(&m_editor, &DebugQueryEditor::queueStatusChanged, status, &QLabel::setText);
}

void DebugQueryDialog::placeInspection()
{
    auto *plate = placeLabelled<QLineEdit>(this, 10, QStringLiteral("车牌号码:"), {80, 266, 120, 24},
                                           QStringLiteral("plate"));
    auto *kind = placeLabelled<QComboBox>(this, 210, QStringLiteral("车牌颜色:"), {280, 266, 110, 24},
                                          QStringLiteral("plateKind"));
    kind->addItems(m_editor.plateKinds());
    kind->setCurrentIndex(-1);
    auto *loginId = placeLabelled<QLineEdit>(this, 10, QStringLiteral("LoginID:"), {80, 296, 200, 24},
                                             QStringLiteral("loginId"));
    QPushButton *inquire = placeButton(this, {290, 294, 80, 26}, QStringLiteral("inquireButton"),
                                       QStringLiteral("查询..."), QStringLiteral("查询1"));
    QPushButton *continuous = placeButton(this, {380, 294, 60, 26}, QStringLiteral("continuousButton"),
                                          QStringLiteral("连续"), QStringLiteral("连续显示"));
    continuous->setCheckable(true);

    placeList({10, 326, 480, 170}, QStringLiteral("infoList"), DebugList::Info)->setToolTip(QStringLiteral("基本信息"));
    placeList({500, 10, 490, 160}, QStringLiteral("itemList"), DebugList::Items)
        ->setToolTip(QStringLiteral("检测项目"));
    placeList({500, 176, 490, 150}, QStringLiteral("standardList"), DebugList::Standards)
        ->setToolTip(QStringLiteral("检测标准"));
    placeList({500, 332, 490, 80}, QStringLiteral("checkList"), DebugList::Checks)
        ->setToolTip(QStringLiteral("tb_login_check"));
    placeList({500, 418, 490, 78}, QStringLiteral("taskList"), DebugList::Tasks)
        ->setToolTip(QStringLiteral("tb_login_task"));

    connect(inquire, &QPushButton::clicked, this,
            [this, plate, kind, loginId] { m_editor.inquire(plate->text(), kind->currentText(), loginId->text()); });
    connect(&m_editor, &DebugQueryEditor::loginIdChanged, loginId, &QLineEdit::setText);
    connect(continuous, &QPushButton::toggled, &m_editor, &DebugQueryEditor::setContinuous);
    connect(&m_editor, &DebugQueryEditor::continuousChanged, continuous, &QPushButton::setChecked);
}

void DebugQueryDialog::placeBrowser()
{
    TableBrowser &browser = m_editor.browser();
    auto *table = placeLabelled<QComboBox>(this, 10, QStringLiteral("自定义查询表"), {112, 504, 170, 24},
                                           QStringLiteral("browseTable"));
    table->addItems(m_editor.tables());
    table->setCurrentIndex(-1);
    auto *condition = placeLabelled<QLineEdit>(this, 290, QStringLiteral("条件"), {330, 504, 380, 24},
                                               QStringLiteral("condition"));
    QPushButton *query = placeButton(this, {720, 502, 70, 26}, QStringLiteral("browseButton"), QStringLiteral("查询"),
                                     QStringLiteral("查询2"));
    QPushButton *stop = placeButton(this, {795, 502, 60, 26}, QStringLiteral("stopButton"), QStringLiteral("停止"),
                                    QStringLiteral("停止查询"));
    stop->setEnabled(false);
    QPushButton *reset = placeButton(this, {860, 502, 130, 26}, QStringLiteral("resetButton"),
                                     QStringLiteral("检测编号归零"), QStringLiteral("检测编号归零"));
    ReportListView *list = configured(
        placeControl<ReportListView>(this, {10, 536, 980, 128}, QStringLiteral("browseList")));
    list->setModel(&browser.list());
    auto *status = placeControl<QLabel>(this, {10, 672, 600, 22}, QStringLiteral("browseStatus"));
    showStatus(browser.status(), status, nullptr, nullptr);

    connect(table, &QComboBox::currentTextChanged, this, [&browser, list](const QString &name) {
        browser.chooseTable(name, list->width() - 2 * list->frameWidth());
    });
    connect(query, &QPushButton::clicked, this, [&browser, condition] { browser.browse(condition->text()); });
    connect(stop, &QPushButton::clicked, &browser, &TableBrowser::stop);
    connect(&browser, &TableBrowser::running, this, [query, stop, table](bool running) {
        query->setEnabled(!running);
        table->setEnabled(!running);
        stop->setEnabled(running);
    });
    connect(reset, &QPushButton::clicked, &m_editor, &DebugQueryEditor::resetNumbering);
}

}  // namespace dbkeel
