#pragma once
// "系统配置": which database entry to use, the local IP address and port, saved to dbtool.ini.

#include "ScreenDialog.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace dbkeel {

class SystemConfigDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit SystemConfigDialog(QWidget *parent = nullptr);

    QRadioButton *localDatabase() const { return local_; }
    QRadioButton *remoteDatabase() const { return remote_; }
    QComboBox *address() const { return address_; }
    QLineEdit *port() const { return port_; }

private:
    void save();

    QRadioButton *local_ = nullptr, *remote_ = nullptr;
    QComboBox *address_ = nullptr;
    QLineEdit *port_ = nullptr;
};

}  // namespace dbkeel
