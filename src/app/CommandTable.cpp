#include "app/CommandTable.h"

#include "screens/ScreenHost.h"
#include "screens/ScreenRegistry.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace dbkeel {

const QList<MenuGroup> &mainMenuLayout()
{
    static const QList<MenuGroup> layout = {
        {QStringLiteral("系统(&M)"),
         {{command::Login, QStringLiteral("登录(&L)")},
          {command::SystemConfig, QStringLiteral("本系统配置(&P)")},
          {command::StationConfigManager, QStringLiteral("工位配置管理器(&M)")},
          {command::HostLibUpdate, QStringLiteral("HostCfg.dll更新(&U)")},
          {command::DatabaseVersions, QStringLiteral("数据库版本维护(&V)")},
          {command::Exit, QStringLiteral("退出(&E)")},
          {command::About, QStringLiteral("关于 Dbkeel(&A)...")}}},
        {QStringLiteral("快速组建新线(&E)"),
         {{command::OneKeyRelations, QStringLiteral("一键创建元素关系(&O)")},
          {command::QuickLineBuild, QStringLiteral("快速创建线工位(&G)")}}},
        {QStringLiteral("数据清理管理(&C)"),
         {{command::ClearTemporaryData, QStringLiteral("清除临时数据(&C)")},
          {command::ClearDuplicates, QStringLiteral("清除重复数据(&D)")},
          {command::CheckItemParameters, QStringLiteral("校验项目参数(&I)")},
          {command::PlateCorrection, QStringLiteral("修正号牌错误(X)")}}},
        {QStringLiteral("线组成元素管理"),
         {{command::LineTypes, QStringLiteral("创建新线元素(&L)")},
          {command::DeviceDictionary, QStringLiteral("创建新设备元素(&D)")},
          {command::ItemDictionary, QStringLiteral("创建新项目元素(&I)")},
          {command::ParameterDictionary, QStringLiteral("创建新参数元素(&P)")},
          {command::BasicInformation, QStringLiteral("创建新基本信息元素(&B)")},
          {command::OutlineItems, QStringLiteral("创建新外检项目元素(&O)")},
          {command::InfoSubIds, QStringLiteral("创建新信息SUBID(&U)")},
          {command::ElementExchange, QStringLiteral("导入导出全部设备项目参数(&F)")}}},
        {QStringLiteral("线内关系建立(&G)"),
         {{command::ItemParameterRelations, QStringLiteral("创建项目参数关系(P)")},
          {command::DeviceItemRelations, QStringLiteral("创建设备项目关系(&D)")},
          {command::IndexFileBuild, QStringLiteral("建立参数关系文件(&C)")}}},
        {QStringLiteral("SQL调试工具(&Q)"),
         {{command::SqlWorkspace, QStringLiteral("SQL查询分析处理(&S)")},
          {command::DebugQuery, QStringLiteral("调试查询(&D)")},
          {command::StatisticsTable, QStringLiteral("建立统计表(&T)")},
          {command::SystemLog, QStringLiteral("系统日志管理(&L)")},
          {command::VehicleTypeDesign, QStringLiteral("车型表设计及车型数据管理(&G)")},
          {command::VehicleTypeTransfer, QStringLiteral("车型数据导入导出(&V)")},
          {command::BackupManager, QStringLiteral("数据库数据备份还原(&B)")},
          {command::OutputFieldMatching, QStringLiteral("外输数据表字段匹配(&P)")},
          {command::StandardsProgram, QStringLiteral("标准管理(&Z)")}}},
    };
    return layout;
}

QList<int> protectedCommands(bool disabling)
{
    QList<int> ids;
    for (int id = command::DeviceDictionary; id <= command::SystemConfig; ++id)
        ids << id;
    ids << command::ClearTemporaryData << command::CheckItemParameters << command::IndexFileBuild
        << command::VehicleTypeDesign << command::ElementExchange;
    if (disabling)
        ids << command::StationConfigManager;
    return ids;
}

QStringList standardsProgramArguments(const QRect &frame)
{
    return {QStringLiteral("-1"),           QString::number(frame.left()),   QString::number(frame.top()),
            QString::number(frame.width()), QString::number(frame.height()), QStringLiteral("0")};
}

CommandTable::CommandTable(ScreenHost &host) : QObject(host.owner()), m_host(host) {}

void CommandTable::buildMenu(QMenuBar *bar)
{
    for (const MenuGroup &group : mainMenuLayout()) {
        QMenu *menu = bar->addMenu(group.title);
        for (const MenuCommand &entry : group.commands) {
            if (entry.id == command::About)
                menu->addSeparator();
            QAction *action = menu->addAction(entry.text);
            action->setObjectName(QStringLiteral("command%1").arg(entry.id));
            const int id = entry.id;
            connect(action, &QAction::triggered, this, [this, id] { trigger(id); });
            m_actions[id] = action;
        }
    }
    refresh();
}

void CommandTable::setHandler(int id, Handler handler)
{
    m_handlers[id] = std::move(handler);
    apply(id);
}

void CommandTable::enableMenus(int id, bool enable)
{
    const QList<int> ids = id != 0 ? QList<int>{id} : protectedCommands(!enable);
    for (int each : ids) {
        if (enable)
            m_disabled.erase(each);
        else
            m_disabled.insert(each);
        apply(each);
    }
}

void CommandTable::refresh()
{
    for (const auto &[id, action] : m_actions)
        apply(id);
}

QAction *CommandTable::action(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

bool CommandTable::hasAction(int id) const
{
    return m_handlers.count(id) != 0 || bool(registeredCommand(id));
}

void CommandTable::trigger(int id)
{
    QAction *entry = action(id);
    if (entry && !entry->isEnabled())
        return;
    if (const auto own = m_handlers.find(id); own != m_handlers.end()) {
        own->second();
        return;
    }
    if (const ScreenAction screen = registeredCommand(id))
        screen(m_host);
}

void CommandTable::apply(int id)
{
    if (QAction *entry = action(id))
        entry->setEnabled(m_disabled.count(id) == 0 && hasAction(id));
}

}  // namespace dbkeel
