#pragma once
// The registration screen's list of other computers (tb_login_ip_info), without its widgets.

#include "widgets/ReportListModel.h"

#include <QString>

#include <optional>

namespace dbkeel {

// The screen's fields, as typed.
struct LoginComputerInput {
    QString type;  // "登录机" or "其他计算机"
    QString port;
    QString address;
    QString number;
    QString name;
};

enum class LoginField { Type, Port, Address, Number, Name };

class ComputerRegistrationEditor {
public:
    enum Column { Name, Ip, Port, Number, Type, PcType };
    static const QString kLoginMachine;   // "登录机"
    static const QString kOtherComputer;  // "其他计算机"
    static const QString kBlankAddress;   // an IP address field left blank

    // The columns are set for a list `listWidth` wide (the screen's list at its design size).
    explicit ComputerRegistrationEditor(int listWidth = 380);

    ReportListModel &list() { return m_list; }
    const ReportListModel &list() const { return m_list; }
    void setColumns(int listWidth);

    // Rows of tb_login_ip_info by PCType, in blue; nothing without an open connection.
    void load();
    // Checks the fields in order; the first that fails (its message shown) or, when all pass,
    // nullopt with the row appended. Nothing is stored yet.
    std::optional<LoginField> add(const LoginComputerInput &input);
    // Deletes the row's computer from the table and then from the list.
    void deleteRow(int row);
    // Empties the table; the list keeps its rows.
    void deleteAll();
    // Rewrites the table from the list, stopping at the first failure.
    void save();

private:
    ReportListModel m_list;
};

}  // namespace dbkeel
