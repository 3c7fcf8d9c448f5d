#include "indexfiles/IndexParts.h"

#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "indexfiles/UserFile.h"
#include "platform/FileWrite.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <limits>

namespace dbkeel {

namespace {

const QString kIndex = QStringLiteral("INDEX");
const QString kIndexNum = QStringLiteral("INDEXNUM");
const QString kParamToItem = QStringLiteral("PARAMID2ITEMID");
const QString kItemsOfDevice = QStringLiteral("ITEMID2DEVID");
const QString kIpInfo = QStringLiteral("IPINFO");
const QString kLineInfo = QStringLiteral("LINEINFO");
const QString kTransInfo = QStringLiteral("TRANSINFO");

// The codes of one kind go to INDEX and to the list NUMBSTRn with its count NUMBn.
void writeKindList(PartContext &context, int kind, const QStringList &codes)
{
    context.index.writeList(kIndexNum, QStringLiteral("NUMBSTR%1").arg(kind), QStringLiteral("NUMB%1").arg(kind),
                            codes);
}

// Parts 2 to 7: every code of a dictionary = its name in INDEX, then the kind's list.
std::function<void(PartContext &)> codeNames(const QString &statement, const QString &codeColumn,
                                             const QString &nameColumn, int kind)
{
    return [=](PartContext &context) {
        QStringList codes;
        SqlCursor rows = context.db.query(statement);
        while (rows.next()) {
            const QString code = rows.text(codeColumn);
            context.index.write(kIndex, code, rows.text(nameColumn));
            codes << code;
        }
        writeKindList(context, kind, codes);
    };
}

void subIds(PartContext &context)
{
    QStringList codes;
    SqlCursor rows = context.db.query(QStringLiteral(
        "select infoid,infosubid,infovalue_about from tb_login_ini where sametypeid = '1' order by  infosubid ;"));
    while (rows.next()) {
        const QString subId = rows.text(QStringLiteral("infosubid"));
        const QString text = rows.text(QStringLiteral("infovalue_about"));
        context.index.write(kIndex, subId, text);
        context.index.write(kIndex, text + u'_' + rows.text(QStringLiteral("infoid")), subId);
        codes << subId;
    }
    writeKindList(context, 4, codes);
}

void writeParamList(PartContext &context, const QStringList &params)
{
    context.index.writeList(kParamToItem, QStringLiteral("ParamID2PID"), QStringLiteral("ParamID2Numb"), params);
}

// The codes of the run items (tb_id_item). When they cannot be read the parameter list is written
// empty and the part fails with its own message.
QStringList runItemCodes(PartContext &context)
{
    QStringList items;
    try {
        SqlCursor rows = context.db.query(QStringLiteral("select ItemId,ItemName from tb_id_item  order by ItemId ;"));
        while (rows.next())
            items << rows.text(QStringLiteral("ItemId"));
    } catch (const DbError &error) {
        writeParamList(context, {});
        throw PartFailure{error.text(), QStringLiteral("ItemId ") + error.text()};
    }
    return items;
}

// Every parameter of every run item, keyed to its item; a parameter of several items is listed once
// per item and its key keeps the last of them.
void paramsToItems(PartContext &context)
{
    QStringList params;
    for (const QString &item : runItemCodes(context)) {
        SqlCursor rows = context.db.query(
            QStringLiteral("select  distinct ParamId,ParamName from tb_id_param where ItemId = %1 order by ParamId ;")
                .arg(sqlNumber(item)));
        while (rows.next()) {
            const QString param = rows.text(QStringLiteral("ParamId"));
            context.index.write(kParamToItem, param, item);
            params << param;
        }
    }
    writeParamList(context, params);
}

// The devices as DevID listed them, read back from the file; each gets the items it provides on
// the lines (an empty value when it provides none).
void itemsOfDevices(PartContext &context)
{
    const QByteArray devices = toGbk(context.index.read(kIndexNum, QStringLiteral("NUMBSTR2")));
    const int count = toInt(context.index.read(kIndexNum, QStringLiteral("NUMB2")));
    for (int k = 0; k < count; ++k) {
        QByteArray field;
        if (hostLib().getField(devices, field, k) == kHostMissing)
            throw DbError(QStringLiteral("GetField 不可用: %1").arg(hostLib().errorString()));
        const int device = toInt(field);
        SqlCursor rows = context.db.query(
            QStringLiteral(
                "select DISTINCT itemid , itemname from tb_login_lineindex where \t\t\tdevid=%1  order by itemid ;")
                .arg(device));
        QString items;
        while (rows.next())
            items += rows.text(QStringLiteral("itemid")) + u',';
        context.index.write(kItemsOfDevice, QString::number(device), items);
    }
}

void lineIds(PartContext &context)
{
    SqlCursor rows = context.db.query(
        QStringLiteral("select lineid,linetype,linename,stationip,stationid from tb_line_info  order by lineid desc;"));
    while (rows.next()) {
        const QString line = rows.text(QStringLiteral("lineid"));
        const QString station = trimBoth(rows.text(QStringLiteral("stationid")));
        const QString ip = rows.text(QStringLiteral("stationip"));
        context.index.write(kIpInfo, line,
                            rows.text(QStringLiteral("linetype")) + u',' + rows.text(QStringLiteral("linename")));
        context.index.write(kIpInfo, ip, QStringLiteral("%1,%2").arg(line, station));
        context.index.write(kIpInfo, QStringLiteral("%1_%2").arg(line, station), ip);
    }
}

// Only the stations whose devices have a program path, with positive line and station numbers.
void lineStationIds(PartContext &context)
{
    SqlCursor rows = context.db.query(QStringLiteral("select devpath,stationip,lineid,stationid from tb_line_info ; "));
    while (rows.next()) {
        const QString path = trimBoth(rows.text(QStringLiteral("devpath")));
        const QString ip = trimBoth(rows.text(QStringLiteral("stationip")));
        const QString line = trimBoth(rows.text(QStringLiteral("lineid")));
        const QString station = trimBoth(rows.text(QStringLiteral("stationid")));
        if (path.isEmpty() || toInt(line) <= 0 || toInt(station) <= 0)
            continue;
        context.index.write(kLineInfo, ip, QStringLiteral("%1,%2").arg(line, station));
        context.index.write(kLineInfo, QStringLiteral("%1_%2").arg(line, station), ip);
    }
}

void mainIds(PartContext &context)
{
    SqlCursor rows = context.db.query(
        QStringLiteral("select DISTINCT infosubid,subbynameid from tb_login_ini where sametypeid = '1' ; "));
    while (rows.next()) {
        const QString mainId = rows.text(QStringLiteral("subbynameid"));
        if (!mainId.isEmpty())
            context.index.write(kTransInfo, rows.text(QStringLiteral("infosubid")), mainId);
    }
}

void userIds(PartContext &context)
{
    QList<UserEntry> users;
    SqlCursor rows = context.db.query(QStringLiteral("select * from tb_user; "));
    while (rows.next())
        users << UserEntry{rows.text(QStringLiteral("UserName")),   rows.text(QStringLiteral("TrueName")),
                           rows.toInt(QStringLiteral("UserType")),  rows.text(QStringLiteral("InsertDate")),
                           rows.text(QStringLiteral("UserWrokID")), rows.text(QStringLiteral("Password"))};
    const QString error = writeFileWhole(context.userTemp, encodeUserFile(users));
    if (!error.isEmpty())
        throw DbError(error);
    if (users.size() > userfile::kMaxUsers)
        context.remark = QStringLiteral("共%1个用户,UserID.dat只能容纳%2个,另外%3个用户未写入")
                             .arg(QString::number(users.size()), QString::number(userfile::kMaxUsers),
                                  QString::number(users.size() - userfile::kMaxUsers));
}

}  // namespace

void IndexWriter::write(const QString &section, const QString &key, const QString &value)
{
    if (key.isEmpty())
        return;
    // A null text would remove the key: an empty value (a NULL column, an empty list) is written as "key=".
    if (!m_file.writeString(section, key, value.isNull() ? QStringLiteral("") : value))
        throw DbError(QStringLiteral("[%1] %2: %3").arg(section, key, m_file.lastError()));
}

void IndexWriter::writeList(const QString &section, const QString &listKey, const QString &countKey,
                            const QStringList &codes)
{
    QString list;
    for (const QString &code : codes)
        list += code + u',';
    write(section, listKey, list);
    write(section, countKey, QString::number(codes.size()));
}

QString IndexWriter::read(const QString &section, const QString &key) const
{
    return m_file.readString(section, key, QString(), std::numeric_limits<int>::max());
}

const QList<IndexPart> &indexParts()
{
    static const QList<IndexPart> parts = {
        {QStringLiteral("SubID"), subIds, true, QStringLiteral("SbuID "), nullptr},
        {QStringLiteral("InfoID"),
         codeNames(QStringLiteral("select infoid,infoname from tb_id_info  order by  infoid ;"),
                   QStringLiteral("infoid"), QStringLiteral("infoname"), 3),
         true, QStringLiteral("InfoID "), nullptr},
        {QStringLiteral("ItemID"),
         codeNames(QStringLiteral("select itemid,itemname from tb_id_itemid  order by itemid ;"),
                   QStringLiteral("itemid"), QStringLiteral("itemname"), 0),
         true, QStringLiteral("ItemID "), nullptr},
        {QStringLiteral("ParamID"),
         codeNames(QStringLiteral("select  paramid,paramname from tb_id_paramid  order by paramid ;"),
                   QStringLiteral("paramid"), QStringLiteral("paramname"), 1),
         true, QString(), nullptr},
        {QStringLiteral("DevID"),
         codeNames(QStringLiteral("select  devid,devname from tb_id_devid  order by ID ;"), QStringLiteral("devid"),
                   QStringLiteral("devname"), 2),
         true, QString(), nullptr},
        {QStringLiteral("OutLineID"),
         codeNames(QStringLiteral("select  outlineitemid,outlineitemname from tb_id_outline  order by ID ;"),
                   QStringLiteral("outlineitemid"), QStringLiteral("outlineitemname"), 5),
         true, QString(), nullptr},
        {QStringLiteral("EvalID"),
         codeNames(QStringLiteral("select  pingdingid,pingdingname from tb_id_eval  order by ID ;"),
                   QStringLiteral("pingdingid"), QStringLiteral("pingdingname"), 6),
         true, QString(), nullptr},
        {QStringLiteral("ParamID2ItemID"), paramsToItems, false, QString(), "CreateParamID_ParamID2ItemID %s\n"},
        {QStringLiteral("ItemID2DevID"), itemsOfDevices, false, QString(), "CreateParamID_ItemID2DevID %s\n"},
        {QStringLiteral("LineID"), lineIds, true, QStringLiteral("LineID "), nullptr},
        {QStringLiteral("LineStationID"), lineStationIds, false, QString(), "CreateParamID_DevPathIP-创建失败\n"},
        {QStringLiteral("MainID"), mainIds, false, QString(), "CreateParamID_MainID %s\n"},
        {QStringLiteral("UserID"), userIds, false, QString(), "CreateParamID_UserID %s\n"},
    };
    return parts;
}

}  // namespace dbkeel
