#include "MainWindowPanel.h"

#include "LineTree.h"
#include "ListColor.h"
#include "ReportListModel.h"
#include "ReportListView.h"
#include "ScreenDialog.h"

#include <QComboBox>
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

MainWindowPanel::MainWindowPanel(QWidget *parent) : QWidget(parent), background_(screenBackground())
{
    setObjectName(QStringLiteral("mainPanel"));
    resize(kDesignSize);
    applyBlueText(this);
    createViews();
    createConsoleControls();
}

void MainWindowPanel::createViews()
{
    lineTree_ = new QTreeWidget(this);
    lineTree_->setObjectName(QStringLiteral("lineTree"));
    lineTree_->setHeaderHidden(true);
    lineTree_->setGeometry(6, 6, 180, 226);
    deviceList_ = reportList(this, QStringLiteral("deviceList"), {192, 6, 300, 226});
    itemList_ = reportList(this, QStringLiteral("itemList"), {498, 6, 189, 226});
    computerList_ = reportList(this, QStringLiteral("computerList"), {6, 238, 225, 168});
    computerList_->setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    processList_ = reportList(this, QStringLiteral("processList"), {237, 238, 230, 138});
    chatBox_ = new QTextEdit(this);
    chatBox_->setObjectName(QStringLiteral("chatBox"));
    chatBox_->setReadOnly(true);
    chatBox_->setGeometry(237, 238, 230, 138);
    logBox_ = new QPlainTextEdit(this);
    logBox_->setObjectName(QStringLiteral("logBox"));
    logBox_->setReadOnly(true);
    logBox_->setGeometry(473, 238, 214, 168);
}

void MainWindowPanel::createConsoleControls()
{
    ConsoleWidgets &c = console_;
    c.processList = processList_;
    c.chatBox = chatBox_;
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
    c.execute = button(QStringLiteral("执行(&M)"), QStringLiteral("execute"), QStringLiteral("执行命令"), {411, 413, 56, 26});

    c.selectAll = button(QStringLiteral("全选"), QStringLiteral("selectAll"), QStringLiteral("全选"), {6, 413, 52, 26});
    c.invert = button(QStringLiteral("反选"), QStringLiteral("invertSelection"), QStringLiteral("反选"), {62, 413, 52, 26});
    c.connect = button(QStringLiteral("连接"), QStringLiteral("connect"), QStringLiteral("扫描局域网IP"), {118, 413, 52, 26});
    c.sendFile = button(QStringLiteral("发送文件"), QStringLiteral("sendFile"), QStringLiteral("发送文件"), {174, 413, 57, 26});

    c.shutdown = button(QStringLiteral("关机(&C)"), QStringLiteral("shutdown"), QStringLiteral("关闭计算机"), {473, 413, 52, 26});
    c.restart = button(QStringLiteral("重启(&R)"), QStringLiteral("restart"), QStringLiteral("重启计算机"), {529, 413, 52, 26});
    c.syncTime = button(QStringLiteral("同步时间(&T)"), QStringLiteral("syncTime"), QStringLiteral("系统时间同步"), {585, 413, 60, 26});
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
    console_.restart->setIcon(s->standardIcon(QStyle::SP_BrowserReload));
    console_.syncTime->setIcon(s->standardIcon(QStyle::SP_DialogApplyButton));
    console_.shutdown->setIcon(s->standardIcon(QStyle::SP_DialogCloseButton));
    buttonFont_ = layout_.fontSettings().font();
    buttonFont_.setWeight(QFont::DemiBold);
}

void MainWindowPanel::setUpListColumns()
{
    deviceList_->reportModel()->setColumns(deviceListColumns(deviceList_->viewport()->width()));
    itemList_->reportModel()->setColumns(itemListColumns(itemList_->viewport()->width()));
    processList_->reportModel()->setColumns(processListColumns(processList_->viewport()->width()));
    computerList_->reportModel()->setColumns(computerListColumns(computerList_->viewport()->width()));
}

void MainWindowPanel::attachLayout()
{
    layout_.attach(this);
}

void MainWindowPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintScreenBackground(painter, rect(), background_, BackgroundMode::Tile);
}

void MainWindowPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layout_.layout();
    // The layout gives every control the dialog font; the three command buttons keep theirs.
    for (QPushButton *b : {console_.restart, console_.syncTime, console_.shutdown})
        b->setFont(buttonFont_);
}

}  // namespace dbkeel
