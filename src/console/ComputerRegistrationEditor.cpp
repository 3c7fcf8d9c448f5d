#include "console/ComputerRegistrationEditor.h"

#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "platform/Prompt.h"
#include "screens/DbErrorReport.h"

namespace dbkeel {

namespace {

const QString kCaption = QStringLiteral("提示");

}  // namespace

const QString ComputerRegistrationEditor::kLoginMachine = QStringLiteral("登录机");
const QString ComputerRegistrationEditor::kOtherComputer = QStringLiteral("其他计算机");
const QString ComputerRegistrationEditor::kBlankAddress = QStringLiteral(" . . . ");

ComputerRegistrationEditor::ComputerRegistrationEditor(int listWidth)
{
    setColumns(listWidth);
}

void ComputerRegistrationEditor::setColumns(int listWidth)
{
    const int w = listWidth / 6;
    m_list.setColumns(
        columnSpec({"计算机名称", "IP地址", "端口", "编号", "类型", "tid"}, {w + 50, w + 30, w - 10, w, w - 10, 0}));
}

void ComputerRegistrationEditor::load()
{
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(QStringLiteral("select * from tb_login_ip_info order by PCType ;"));
        while (cursor.next()) {
            const int row = m_list.appendRow(cursor.text(QStringLiteral("LoginPCname")));
            m_list.setItemText(row, PcType, cursor.text(QStringLiteral("PCType")));
            m_list.setItemText(row, Ip, cursor.text(QStringLiteral("LoginPCip")));
            m_list.setItemText(row, Port, cursor.text(QStringLiteral("LoginPCport")));
            m_list.setItemText(row, Number, cursor.text(QStringLiteral("LoginPCno")));
            m_list.setItemText(row, Type, cursor.text(QStringLiteral("statusstr")));
            m_list.setTextColor(row, -1, listcolor::Blue);
        }
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QStringLiteral("获取当前系统线工位关系失败! "), error);
    }
}

std::optional<LoginField> ComputerRegistrationEditor::add(const LoginComputerInput &input)
{
    const auto refuse = [](LoginField field, const QString &text) {
        prompt().message(kCaption, text, PromptIcon::Exclamation);
        return std::optional<LoginField>(field);
    };
    if (input.type.isEmpty())
        return refuse(LoginField::Type, QStringLiteral("类型不能为空!"));
    if (input.port.isEmpty())
        return refuse(LoginField::Port, QStringLiteral("端口不能为空!"));
    if (input.address.isEmpty() || input.address == kBlankAddress)
        return refuse(LoginField::Address, QStringLiteral("IP不能为空!"));
    if (input.number.isEmpty())
        return refuse(LoginField::Number, QStringLiteral("编号不能为空!"));
    if (input.name.isEmpty())
        return refuse(LoginField::Name, QStringLiteral("名称不能为空!"));
    for (int row = 0; row < m_list.rowCount(); ++row) {
        if (m_list.itemText(row, Number) == input.number)
            return refuse(LoginField::Number, QStringLiteral("该编号已经存在,请重新编写!"));
    }
    const int row = m_list.appendRow(input.name);
    m_list.setItemText(row, Ip, input.address);
    m_list.setItemText(row, Port, input.port);
    m_list.setItemText(row, Number, input.number);
    m_list.setItemText(row, Type, input.type);
    m_list.setItemText(row, PcType, input.type == kLoginMachine ? QStringLiteral("1") : QStringLiteral("0"));
    m_list.setTextColor(row, -1, listcolor::Blue);
    return std::nullopt;
}

void ComputerRegistrationEditor::deleteRow(int row)
{
    if (m_list.rowCount() == 0 || row < 0 || row >= m_list.rowCount() || !sharedDb().isOpen())
        return;
    try {
        sharedDb().exec(
            QStringLiteral("delete from tb_login_ip_info where PCType = %1 and \t\t\t          LoginPCname =%2  and "
                           "LoginPCip=%3 and LoginPCport = %4 ; ")
                .arg(sqlNumber(m_list.itemText(row, PcType)), sqlText(m_list.itemText(row, Name)),
                     sqlText(m_list.itemText(row, Ip)), sqlNumber(m_list.itemText(row, Port))));
        m_list.deleteRow(row);
    } catch (const DbError &error) {
        reportDbError(kCaption, QStringLiteral("删除信息异常"), error, AfterDbError::KeepReady);
    }
}

void ComputerRegistrationEditor::deleteAll()
{
    if (!sharedDb().isOpen())
        return;
    try {
        sharedDb().exec(QStringLiteral("delete from tb_login_ip_info "));
    } catch (const DbError &error) {
        reportDbError(kCaption, QStringLiteral("删除信息异常"), error);
    }
}

void ComputerRegistrationEditor::save()
{
    if (!sharedDb().isOpen())
        return;
    try {
        SqlTransaction transaction(sharedDb());
        sharedDb().exec(QStringLiteral("delete from tb_login_ip_info ;"));
        for (int row = 0; row < m_list.rowCount(); ++row) {
            sharedDb().exec(QStringLiteral("insert into tb_login_ip_info( PCType,LoginPCname,LoginPCip,LoginPCport,"
                                           "LoginPCno,statusstr)values(\t\t\t\t         %1,%2,%3,%4,%5,%6 )")
                                .arg(sqlNumber(m_list.itemText(row, PcType)), sqlText(m_list.itemText(row, Name)),
                                     sqlText(m_list.itemText(row, Ip)), sqlNumber(m_list.itemText(row, Port)),
                                     sqlText(m_list.itemText(row, Number)), sqlText(m_list.itemText(row, Type))));
        }
        transaction.commit();
    } catch (const DbError &error) {
        reportDbError(kCaption, QStringLiteral("插入信息异常"), error);
    }
}

}  // namespace dbkeel
