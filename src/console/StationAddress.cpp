#include "console/StationAddress.h"

#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "core/StationRegistry.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"

namespace dbkeel {

namespace {

QString updateStatement(const RegistryEntry &entry, const QString &address, int port)
{
    if (entry.kind == 0)
        return QStringLiteral("update tb_line_info set stationip = %1 , stationport = %2 where lineid = \t\t\t%3 and "
                              "stationid = %4 ;")
            .arg(sqlText(address), sqlNumber(port), sqlNumber(entry.lineId), sqlNumber(entry.stationId));
    return QStringLiteral("update tb_login_ip_info set LoginPCip = %1 , LoginPCport = %2 where PCType=\t\t\t%3 and "
                          "ID = %4 ;")
        .arg(sqlText(address), sqlNumber(port), sqlNumber(entry.stationId), sqlNumber(entry.lineId));
}

}  // namespace

QString addressTail(const QString &address, const QString &port)
{
    return QStringLiteral("(%1->%2)").arg(address, port);
}

std::optional<QString> ApplyAddress(const QString &address, int port, quintptr treeNode, const QString &nodeText)
{
    const int index = stationRegistry().indexOfNode(treeNode);
    if (index < 0)
        return std::nullopt;
    const RegistryEntry entry = stationRegistry().entry(index);
    const QString portText = QString::number(port);
    stationRegistry().setAddress(index, address, portText);
    QString text = nodeText;
    text.replace(addressTail(entry.station.ip, entry.station.port), addressTail(address, portText));
    if (sharedDb().isOpen()) {
        try {
            sharedDb().exec(updateStatement(entry, address, port));
        } catch (const DbError &error) {
            reportDbError(QStringLiteral("提示"), QStringLiteral("修改IP失败"), error);
        }
    }
    return text;
}

std::optional<StationRowRecord> addressChangeRecord(const QString &nodeText, quintptr treeNode)
{
    if (!nodeText.contains(QStringLiteral("工位")) && !nodeText.contains(QLatin1Char('[')))
        return std::nullopt;
    const int index = stationRegistry().indexOfNode(treeNode);
    if (index < 0)
        return std::nullopt;
    const RegistryEntry entry = stationRegistry().entry(index);
    return StationRowRecord::addressOnly(entry.station.ip, QString::number(toInt(entry.station.port)));
}

std::optional<QString> applyAddressChange(const StationRowRecord &edited, quintptr treeNode, const QString &nodeText)
{
    return ApplyAddress(edited.address, toInt(edited.port), treeNode, nodeText);
}

}  // namespace dbkeel
