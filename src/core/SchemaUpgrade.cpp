#include "core/SchemaUpgrade.h"

#include "core/AppLog.h"
#include "core/AppState.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "platform/Prompt.h"

namespace dbkeel {

const QList<SeededInfoField> kSeededInfoFields = {
    {1180, "chejishi", "车籍市"},
    {1181, "chejiqushi", "车籍区县"},
    {1182, "huanbaobiaozhi", "环保标志"},
    {1183, "ranyouguige", "燃油规格"},
    {1184, "fujiantianshu", "复检允许天数"},
    {1185, "jinzhanbianhao", "车辆进站编号"},
    {1186, "yuguanbianhao", "运管专用编号"},
    {1187, "yonghubianhao", "用户自编号"},
    {1188, "hjwindu", "环境温度"},
    {1189, "hjshidu", "环境湿度"},
    {1190, "hjdaqiya", "环境大气压"},
    {1191, "gonganzhuanyonghao", "公安专用编号"},
    {1192, "zuoweizaizhiliang", "乘员数或载质量"},
    {1193, "gongyoujingqi", "供油或进气"},
    {1194, "yunguancheleixing", "运管车辆类型"},
    {1195, "changpaijianchexing", "厂牌简称车型"},
    {1149, "jcqxslc", "检测前行驶里程"},
    {1150, "jcn", "检测年"},
    {1151, "jcy", "检测月"},
    {1152, "jcr", "检测日"},
    {1147, "pqhclzz", "排气后处理装置"},
    {1023, "jssfzgd", "驾驶室翻转后最高高度(mm)"},
    {1029, "jssbfcd", "驾驶室部分长度(mm)"},
    {1142, "ldzxjj", "最小离地间距(mm)"},
    {1143, "nlzxjj", "轮胎内边最小间距"},
    {1144, "wlzxjj", "轮胎外边最大间距"},
    {1165, "jcyjbzc", "检测依据标准串"},
    {1166, "yqrzbhc", "仪器认证编号串"},
    {1167, "jlrzbh", "计量认证编号"},
    {1168, "hbrzbhyxq", "环保认证有效期"},
    {1169, "hbrzbh", "环保认证编号"},
    {1170, "yyxz", "营运性质"},
    {1197, "sfry", "收费员"},
    {1198, "xsABC", "系数ABC"},
    {1164, "sfwjc", "是否外籍车"},
    {1145, "jdcxh", "机动车序号"},
    {1095, "cglsh", "车管流水号"},
};

namespace {

const QString kLineInfo = QStringLiteral("tb_line_info");
const QString kLineIndex = QStringLiteral("tb_login_lineindex");
const QString kIpInfo = QStringLiteral("tb_login_ip_info");

const QList<UpgradeColumn> kStationAddressColumns = {{QStringLiteral("stationip"), QStringLiteral("varchar(50)")},
                                                     {QStringLiteral("stationport"), QStringLiteral("int")}};
const QList<UpgradeColumn> kDevPathColumns = {{QStringLiteral("devPath"), QStringLiteral("varchar(50)")},
                                              {QStringLiteral("devRemark"), QStringLiteral("varchar(500)")}};

bool isText(const UpgradeColumn &column)
{
    return column.type.startsWith(QLatin1String("varchar"));
}

// "stationip varchar(50) COLLATE Chinese_PRC_CI_AS NULL" (ALTER) or the bracketed CREATE form.
QString sqlServerColumn(const UpgradeColumn &column, bool bracketed)
{
    if (column.type == QLatin1String("identity"))
        return QStringLiteral("[%1] [int] IDENTITY (1, 1) NOT NULL").arg(column.name);
    if (!bracketed)
        return column.name + QLatin1Char(' ') + column.type
               + (isText(column) ? QStringLiteral(" COLLATE Chinese_PRC_CI_AS NULL") : QStringLiteral(" NULL"));
    if (!isText(column))
        return QStringLiteral("[%1] [%2] NULL").arg(column.name, column.type);
    const QString length = column.type.mid(column.type.indexOf(QLatin1Char('(')));
    return QStringLiteral("[%1] [varchar] %2 COLLATE Chinese_PRC_CI_AS NULL").arg(column.name, length);
}

QString sqliteColumn(const UpgradeColumn &column)
{
    if (column.type == QLatin1String("identity"))
        return column.name + QStringLiteral(" INTEGER PRIMARY KEY");
    return column.name + (isText(column) ? QStringLiteral(" TEXT") : QStringLiteral(" INTEGER"));
}

QString sqlServerTableGuard(const QString &table, bool exists)
{
    return QStringLiteral("if %1exists (%2)")
        .arg(exists ? QString() : QStringLiteral("not "), tableExistsQuery(Dialect::SqlServer, table));
}

// Runs a step; the driver's text of a failure, or an empty text.
QString runStep(SharedDb &db, const UpgradeStep &step)
{
    try {
        if (step.runWhenFound.isEmpty() || db.exists(step.runWhenFound))
            db.exec(step.batch);
        return {};
    } catch (const DbError &error) {
        DbReady = 0;
        return error.text();
    }
}

}  // namespace

UpgradeStep seedInfoFieldStep(Dialect dialect, int row)
{
    const SeededInfoField &field = kSeededInfoFields.at(row);
    const QString word = QString::fromUtf8(field.infoword), name = QString::fromUtf8(field.infoname);
    const bool refreshed = row >= kFirstRefreshedInfoField;
    if (dialect == Dialect::SqlServer) {
        QString batch = QStringLiteral("IF NOT EXISTS ( select * from tb_id_info where infoid = %1 )BEGIN insert into "
                                       "tb_id_info( infoid,infoword,infoname,reserved,status ) values( %1 ,'%2','%3',"
                                       "'INFO_%1', 0  ) END")
                            .arg(QString::number(field.infoid), word, name);
        if (refreshed)
            batch += QStringLiteral(" ELSE BEGIN update tb_id_info set infoword='%1' ,infoname='%2', status = 1 where "
                                    "infoid = %3 END;")
                         .arg(word, name, QString::number(field.infoid));
        return {batch, {}};
    }
    // The refresh runs before the insert, so that a row inserted now keeps status 0.
    const QString id = sqlNumber(field.infoid);
    QString batch;
    if (refreshed)
        batch = QStringLiteral("update tb_id_info set infoword=%1 ,infoname=%2, status = 1 where infoid = %3;")
                    .arg(sqlText(word), sqlText(name), id);
    batch += QStringLiteral("insert into tb_id_info( infoid,infoword,infoname,reserved,status ) select %1 ,%2,%3,%4, 0 "
                            "where not exists ( select * from tb_id_info where infoid = %1 );")
                 .arg(id, sqlText(word), sqlText(name), sqlText(QStringLiteral("INFO_%1").arg(field.infoid)));
    return {batch, {}};
}

UpgradeStep addColumnsStep(Dialect dialect, const QString &table, const QList<UpgradeColumn> &columns,
                           bool onlyIfTableExists)
{
    const QString guardColumn = columns.first().name;
    if (dialect == Dialect::SqlServer) {
        QStringList definitions;
        for (const UpgradeColumn &column : columns)
            definitions << sqlServerColumn(column, false);
        QString batch = QStringLiteral("IF NOT EXISTS (%1) BEGIN ALTER table %2 add %3 END")
                            .arg(columnExistsQuery(Dialect::SqlServer, table, guardColumn), table,
                                 definitions.join(QStringLiteral(", ")));
        if (onlyIfTableExists)
            batch = sqlServerTableGuard(table, true) + QLatin1Char(' ') + batch;
        return {batch, {}};
    }
    // Without the table guard a missing table makes the ALTER fail, as the T-SQL batch does.
    QString condition = QStringLiteral("select 1 where not exists (%1)")
                            .arg(columnExistsQuery(Dialect::Sqlite, table, guardColumn));
    if (onlyIfTableExists)
        condition += QStringLiteral(" and exists (%1)").arg(tableExistsQuery(Dialect::Sqlite, table));
    QStringList statements;
    for (const UpgradeColumn &column : columns)
        statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2;").arg(table, sqliteColumn(column));
    return {statements.join(QLatin1Char('\n')), condition};
}

QList<UpgradeColumn> createdTableColumns(const QString &table)
{
    auto text = [](const char *name, int length) {
        return UpgradeColumn{QString::fromLatin1(name), QStringLiteral("varchar(%1)").arg(length)};
    };
    auto number = [](const char *name) { return UpgradeColumn{QString::fromLatin1(name), QStringLiteral("int")}; };
    const UpgradeColumn id{QStringLiteral("ID"), QStringLiteral("identity")};
    if (table == QLatin1String("tb_sys_log"))
        return {id,
                text("UserID", 50),
                text("UserTrueName", 50),
                text("UserPower", 20),
                text("Zt2SysLog", 300),
                text("ProgramName", 100),
                text("InsertDate", 50)};
    if (table == QLatin1String("tb_status_memstd"))
        return {number("DBModifyTime")};
    if (table == kIpInfo)
        return {id,
                number("PCType"),
                number("LoginPCid"),
                text("LoginPCname", 50),
                text("LoginPCip", 50),
                number("LoginPCport"),
                text("LoginPCno", 50),
                text("statusstr", 50),
                text("Res", 50)};
    if (table == kLineIndex)
        return {number("lineid"),        text("linename", 50), number("stationid"),
                text("stationname", 50), number("devid"),      text("devname", 50),
                number("itemid"),        text("itemname", 50), text("insertdate", 50)};
    return {};
}

UpgradeStep createTablesStep(Dialect dialect, const QStringList &tables)
{
    QStringList statements;
    for (const QString &table : tables) {
        QStringList definitions;
        for (const UpgradeColumn &column : createdTableColumns(table))
            definitions << (dialect == Dialect::SqlServer ? sqlServerColumn(column, true) : sqliteColumn(column));
        if (dialect == Dialect::SqlServer)
            statements << QStringLiteral("%1 CREATE TABLE [dbo].[%2] ( %3 ) ON [PRIMARY]")
                              .arg(sqlServerTableGuard(table, false), table, definitions.join(QStringLiteral(" , ")));
        else
            statements << QStringLiteral("CREATE TABLE IF NOT EXISTS %1 ( %2 ) STRICT;")
                              .arg(table, definitions.join(QStringLiteral(" , ")));
    }
    return {statements.join(QLatin1Char('\n')), {}};
}

void runUpgradeGroup1(SharedDb &db)
{
    if (!db.isOpen())
        return;
    const Dialect dialect = db.dialect();
    QList<UpgradeStep> steps;
    for (int row = 0; row < kSeededInfoFields.size(); ++row)
        steps << seedInfoFieldStep(dialect, row);
    steps << addColumnsStep(dialect, kLineInfo, {{QStringLiteral("BrakeType"), QStringLiteral("varchar(50)")}}, true)
          << addColumnsStep(dialect, kLineInfo, {{QStringLiteral("LineCode"), QStringLiteral("varchar(50)")}}, true)
          << addColumnsStep(dialect, kLineInfo, kStationAddressColumns, false)
          << addColumnsStep(dialect, kLineInfo,
                            {{QStringLiteral("jcjgid"), QStringLiteral("varchar(50)")},
                             {QStringLiteral("netid"), QStringLiteral("varchar(50)")}},
                            false)
          << createTablesStep(dialect, {QStringLiteral("tb_sys_log")})
          << createTablesStep(dialect, {QStringLiteral("tb_status_memstd")});
    for (const UpgradeStep &step : steps)
        runStep(db, step);  // a failure only clears DbReady
}

void runUpgradeGroup2Tables(SharedDb &db)
{
    if (!db.isOpen())
        return;
    const Dialect dialect = db.dialect();
    QString error = runStep(db, createTablesStep(dialect, {kIpInfo, kLineIndex}));
    if (!error.isEmpty())
        AddLog(QStringLiteral("建立[tb_login_ip_info]表失败") + error, false);
    error = runStep(db, addColumnsStep(dialect, kLineIndex, kDevPathColumns, false));
    if (!error.isEmpty())
        AddLog(QStringLiteral("添加devPath,devRemark字段") + error, true);
}

bool runUpgradeGroup2Columns(SharedDb &db)
{
    if (!db.isOpen())
        return false;
    const Dialect dialect = db.dialect();
    for (const UpgradeStep &step : {addColumnsStep(dialect, kLineInfo, kStationAddressColumns, false),
                                    addColumnsStep(dialect, kLineInfo, kDevPathColumns, false)}) {
        const QString error = runStep(db, step);
        if (!error.isEmpty()) {
            prompt().message(QStringLiteral("提示"), error, PromptIcon::Exclamation);
            return false;
        }
    }
    return true;
}

}  // namespace dbkeel
