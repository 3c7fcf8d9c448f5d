#pragma once
// "添加其他计算机": the registration machines and other computers of tb_login_ip_info, over a
// ComputerRegistrationEditor.

#include "console/ComputerRegistrationEditor.h"
#include "screens/ScreenDialog.h"

class QComboBox;
class QLineEdit;

namespace dbkeel {

class IpAddressEdit;

class ComputerRegistrationDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit ComputerRegistrationDialog(QWidget *parent = nullptr);

    ComputerRegistrationEditor &computers() { return m_computers; }

private:
    void add();
    QWidget *controlOf(LoginField field) const;

    ComputerRegistrationEditor m_computers;
    QLineEdit *m_name = nullptr, *m_number = nullptr, *m_port = nullptr;
    IpAddressEdit *m_ip = nullptr;
    QComboBox *m_type = nullptr;
};

}  // namespace dbkeel
