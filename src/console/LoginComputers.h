#pragma once
// The registration screen's list of other computers (tb_login_ip_info), without its widgets.

#include <QString>

#include <optional>

namespace dbkeel {

class ReportListModel;

// The screen's fields, as typed.
struct LoginComputerInput {
    QString type;  // "登录机" or "其他计算机"
    QString port;
    QString address;
    QString number;
    QString name;
};

enum class LoginField { Type, Port, Address, Number, Name };

class LoginComputers {
public:
    enum Column { Name, Ip, Port, Number, Type, PcType };
    static QString columnSpec(int listWidth);
    static const QString kLoginMachine;  // "登录机"
    static const QString kOtherComputer; // "其他计算机"
    static const QString kBlankAddress;  // an IP address field left blank

    explicit LoginComputers(ReportListModel &list);

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
    ReportListModel &m_list;
};

}  // namespace dbkeel
