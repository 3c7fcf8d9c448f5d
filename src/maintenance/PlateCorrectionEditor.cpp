#include "maintenance/PlateCorrectionEditor.h"

#include "core/AppState.h"
#include "core/SharedDb.h"
#include "core/SqlDialect.h"
#include "core/SqlValue.h"
#include "maintenance/MaintenanceTrace.h"
#include "platform/Prompt.h"
#include "platform/Text.h"

namespace dbkeel {

QString plateKindsQuery()
{
    return QStringLiteral("select * from tb_login_ini where infoid = 1012 or infoid = 1082 order by infoid ");
}

QString plateSearchQuery(const QString &platePrefix)
{
    if (platePrefix.isEmpty())
        return QStringLiteral("select loginid,INFO_1001,INFO_1012,INFO_1082 from tb_vehicle_info");
    return QStringLiteral("select loginid,INFO_1001,INFO_1012,INFO_1082 from tb_vehicle_info where INFO_1001 like %1 ;")
        .arg(sqlLike(platePrefix, LikeMatch::Prefix));
}

QString plateUpdateStatement(const QString &kindCode, const QString &newLoginId, const QString &oldLoginId)
{
    return QStringLiteral("update tb_vehicle_info set INFO_1012 = %1 , loginid = %2 where loginid = %3 ;")
        .arg(sqlText(kindCode), sqlText(newLoginId), sqlText(oldLoginId));
}

bool isPlateError(const QString &loginId, const QString &plate, const QString &kind)
{
    return loginId != plate + kind || toInt(kind) == 0;
}

namespace {
const QString kNotice = QStringLiteral("提示");
}

PlateCorrectionEditor::PlateCorrectionEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
}

void PlateCorrectionEditor::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 4;
    m_list.setColumns(columnSpec({"loginid", "车牌号码", "号牌颜色", "车辆种类"}, {w, w - 15, w - 15, w}));
}

void PlateCorrectionEditor::open()
{
    m_kindTextOf.clear();
    m_kindCodeOf.clear();
    m_vehicleKindTextOf.clear();
    m_kindTexts.clear();
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(plateKindsQuery());
        while (cursor.next()) {
            const QString code = cursor.text(QStringLiteral("infosubid"));
            const QString text = cursor.text(QStringLiteral("infovalue_about"));
            if (cursor.toInt(QStringLiteral("infoid")) == 1012) {
                m_kindTextOf.insert(code, text);
                m_kindCodeOf.insert(text, code);
                m_kindTexts << text;
            } else {
                m_vehicleKindTextOf.insert(code, text);
            }
        }
    } catch (const DbError &error) {
        DbReady = 0;
        qCDebug(maintenanceTrace).noquote() << error.text();
    }
}

void PlateCorrectionEditor::search(const QString &platePrefix)
{
    if (!sharedDb().isOpen())
        return;
    m_list.deleteAllRows();
    try {
        SqlCursor cursor = sharedDb().query(plateSearchQuery(platePrefix));
        while (cursor.next()) {
            const QString loginId = cursor.text(0), plate = cursor.text(1), kind = cursor.text(2);
            if (!isPlateError(loginId, plate, kind))
                continue;
            const QString vehicleKind = cursor.text(3);
            const int row = m_list.appendRow(loginId);
            m_list.setItemText(row, PlateColumn, plate);
            m_list.setItemText(row, KindColumn, kind);
            m_list.setItemText(row, VehicleKindColumn, m_vehicleKindTextOf.value(vehicleKind, vehicleKind));
            m_list.setTextColor(row, -1, listcolor::Red);
        }
    } catch (const DbError &error) {
        qCDebug(maintenanceTrace).noquote() << error.text();
    }
}

void PlateCorrectionEditor::setChosen(int row)
{
    m_chosen = row;
    m_chosenPlate = row < 0 ? QString() : m_list.itemText(row, PlateColumn);
    m_chosenLoginId = row < 0 ? QString() : m_list.itemText(row, LoginIdColumn);
    emit chosenChanged();
}

void PlateCorrectionEditor::choose(int row)
{
    if (row >= 0 && row < m_list.rowCount())
        setChosen(row);
}

QString PlateCorrectionEditor::chosenKindText() const
{
    if (m_chosen < 0)
        return {};
    const QString code = m_list.itemText(m_chosen, KindColumn);
    if (m_kindTextOf.contains(code))
        return m_kindTextOf.value(code);
    for (const QString &text : m_kindTexts)
        if (!code.isEmpty() && text.startsWith(code))
            return text;
    return {};
}

PlateCorrectionEditor::UpdateResult PlateCorrectionEditor::update(const QString &kindText, const QString &platePrefix)
{
    if (kindText.isEmpty()) {
        prompt().message(kNotice, QStringLiteral("号牌种类不能为空!"), PromptIcon::Exclamation);
        return UpdateResult::KindMissing;
    }
    if (m_chosen < 0)
        return UpdateResult::NothingChosen;
    if (prompt().message(kNotice,
                         QStringLiteral("确定要更新该车信息?一但更新可能会造成该车辆部分信息丢失,确定(更新),取消?"),
                         PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return UpdateResult::Declined;
    const QString code = m_kindCodeOf.value(kindText);
    try {
        if (!sharedDb().isOpen())
            throw DbError(QStringLiteral("the database connection is not open"));
        sharedDb().exec(plateUpdateStatement(code, m_chosenPlate + code, m_chosenLoginId));
    } catch (const DbError &error) {
        DbReady = 0;
        qCDebug(maintenanceTrace).noquote() << error.text();
        prompt().message(kNotice, QStringLiteral("更新失败"), PromptIcon::Exclamation);
        return UpdateResult::Failed;
    }
    prompt().message(kNotice, QStringLiteral("更新成功!"), PromptIcon::Information);
    search(platePrefix);
    setChosen(-1);
    return UpdateResult::Updated;
}

}  // namespace dbkeel
