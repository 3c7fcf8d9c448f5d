#include "app/MainWindowPanel.h"

#include "core/LineTree.h"
#include "screens/ScreenDialog.h"
#include "widgets/ListColor.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QTreeWidget>

namespace dbkeel {

namespace {

constexpr ListColor kListBackground = rgb(240, 247, 233);

ReportListView *reportList(QWidget *parent, const QString &name, const QRect &place)
{
    auto *list = new ReportListView(parent);
    list->setObjectName(name);
    list->setGeometry(place);
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);
    list->setListBackgroundColor(kListBackground);
    return list;
}

}  // namespace

QFont consoleButtonFont(const QStringList &families, const QFont &dialogFont)
{
    const QString face = QStringLiteral("幼圆");
    if (!families.contains(face, Qt::CaseInsensitive))
        return dialogFont;
    QFont font(face);
    font.setPixelSize(30);
    font.setWeight(QFont::DemiBold);
    return font;
}

MainWindowPanel::MainWindowPanel(QWidget *parent) : QWidget(parent), m_background(screenBackground())
{
    setObjectName(QStringLiteral("mainPanel"));
    resize(kDesignSize);
    applyBlueText(this);
    createViews();
    createConsoleControls();
}

void MainWindowPanel::createViews()
{
    m_lineTree = new QTreeWidget(this);
    m_lineTree->setObjectName(QStringLiteral("lineTree"));
    m_lineTree->setHeaderHidden(true);
    m_lineTree->setGeometry(6, 6, 180, 226);
    m_deviceList = reportList(this, QStringLiteral("deviceList"), {192, 6, 300, 226});
    m_itemList = reportList(this, QStringLiteral("itemList"), {498, 6, 189, 226});
    m_computerList = reportList(this, QStringLiteral("computerList"), {6, 238, 225, 168});
    m_computerList->setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    m_processList = reportList(this, QStringLiteral("processList"), {237, 238, 230, 138});
    m_chatBox = new QTextEdit(this);
    m_chatBox->setObjectName(QStringLiteral("chatBox"));
    m_chatBox->setReadOnly(true);
    m_chatBox->setGeometry(237, 238, 230, 138);
    m_logBox = new QPlainTextEdit(this);
    m_logBox->setObjectName(QStringLiteral("logBox"));
    m_logBox->setReadOnly(true);
    m_logBox->setGeometry(473, 238, 214, 168);
}

void MainWindowPanel::createConsoleControls()
{
    ConsoleWidgets &c = m_console;
    c.processList = m_processList;
    c.chatBox = m_chatBox;
    c.messageEdit = new QLineEdit(this);
    c.messageEdit->setObjectName(QStringLiteral("messageEdit"));
    c.messageEdit->setGeometry(237, 382, 170, 24);
    c.messageEdit->setEnabled(false);
    c.send = button(QStringLiteral("发送(&S)"), QStringLiteral("send"), QStringLiteral("发送消息"), {411, 382, 56, 24});
    c.send->setEnabled(false);

    auto *label = new QLabel(QStringLiteral("其他命令:"), this);
    label->setGeometry(237, 415, 58, 22);
    c.commandBox = new QComboBox(this);
    c.commandBox->setObjectName(QStringLiteral("commandBox"));
    c.commandBox->setGeometry(297, 413, 110, 26);
    c.execute = button(QStringLiteral("执行(&M)"), QStringLiteral("execute"), QStringLiteral("执行命令"),
                       {411, 413, 56, 26});

    c.selectAll = button(QStringLiteral("全选"), QStringLiteral("selectAll"), QStringLiteral("全选"), {6, 413, 52, 26});
    c.invert = button(QStringLiteral("反选"), QStringLiteral("invertSelection"), QStringLiteral("反选"),
                      {62, 413, 52, 26});
    c.connect = button(QStringLiteral("连接"), QStringLiteral("connect"), QStringLiteral("扫描局域网IP"),
                       {118, 413, 52, 26});
    c.sendFile = button(QStringLiteral("发送文件"), QStringLiteral("sendFile"), QStringLiteral("发送文件"),
                        {174, 413, 57, 26});

    c.shutdown = button(QStringLiteral("关机(&C)"), QStringLiteral("shutdown"), QStringLiteral("关闭计算机"),
                        {473, 413, 52, 26});
    c.restart = button(QStringLiteral("重启(&R)"), QStringLiteral("restart"), QStringLiteral("重启计算机"),
                       {529, 413, 52, 26});
    c.syncTime = button(QStringLiteral("同步时间(&T)"), QStringLiteral("syncTime"), QStringLiteral("系统时间同步"),
                        {585, 413, 60, 26});
    m_exit = button(QStringLiteral("退出"), QStringLiteral("exit"), QStringLiteral("退出系统"), {649, 413, 38, 26});
    styleConsoleButtons();
}

QPushButton *MainWindowPanel::button(const QString &text, const QString &name, const QString &tip, const QRect &place)
{
    auto *b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setGeometry(place);
    b->setStyleSheet(QStringLiteral("QPushButton:hover { color: rgb(0,0,200); }"));
    return b;
}

void MainWindowPanel::styleConsoleButtons()
{
    const QStyle *s = style();
    m_console.restart->setIcon(s->standardIcon(QStyle::SP_BrowserReload));
    m_console.syncTime->setIcon(s->standardIcon(QStyle::SP_DialogApplyButton));
    m_console.shutdown->setIcon(s->standardIcon(QStyle::SP_DialogCloseButton));
    m_buttonFont = consoleButtonFont(QFontDatabase::families(), m_layout.fontSettings().font());
}

void MainWindowPanel::setUpListColumns()
{
    m_deviceList->reportModel()->setColumns(deviceListColumns(m_deviceList->viewport()->width()));
    m_itemList->reportModel()->setColumns(itemListColumns(m_itemList->viewport()->width()));
    m_processList->reportModel()->setColumns(processListColumns(m_processList->viewport()->width()));
    m_computerList->reportModel()->setColumns(computerListColumns(m_computerList->viewport()->width()));
}

void MainWindowPanel::attachLayout()
{
    m_layout.attach(this);
}

void MainWindowPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintScreenBackground(painter, rect(), m_background, BackgroundMode::Tile);
}

void MainWindowPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_layout.layout();
    // The layout gives every control the dialog font; the three command buttons keep theirs.
    for (QPushButton *b : {m_console.restart, m_console.syncTime, m_console.shutdown})
        b->setFont(m_buttonFont);
}

}  // namespace dbkeel
