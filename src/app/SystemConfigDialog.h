#pragma once
// "系统配置": which database entry to use, the local IP address and port, saved to dbtool.ini.

#include "screens/ScreenDialog.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace dbkeel {

class SystemConfigDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit SystemConfigDialog(QWidget *parent = nullptr);

    QRadioButton *localDatabase() const { return m_local; }
    QRadioButton *remoteDatabase() const { return m_remote; }
    QComboBox *address() const { return m_address; }
    QLineEdit *port() const { return m_port; }

private:
    void save();

    QRadioButton *m_local = nullptr, *m_remote = nullptr;
    QComboBox *m_address = nullptr;
    QLineEdit *m_port = nullptr;
};

}  // namespace dbkeel
