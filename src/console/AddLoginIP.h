#pragma once
// "添加其他计算机": the registration machines and other computers of tb_login_ip_info, over a
// LoginComputers.

#include "LoginComputers.h"
#include "ScreenDialog.h"

class QComboBox;
class QLineEdit;

namespace dbkeel {

class IpAddressEdit;

class AddLoginIP : public ScreenDialog {
    Q_OBJECT

public:
    explicit AddLoginIP(QWidget *parent = nullptr);

    LoginComputers &computers() { return m_computers; }

private:
    void add();
    QWidget *controlOf(LoginField field) const;

    LoginComputers m_computers;
    QLineEdit *m_name = nullptr, *m_number = nullptr, *m_port = nullptr;
    IpAddressEdit *m_ip = nullptr;
    QComboBox *m_type = nullptr;
};

}  // namespace dbkeel
