#include "app/SystemConfigDialog.h"

#include "core/AppConfig.h"
#include "platform/Prompt.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace dbkeel {

SystemConfigDialog::SystemConfigDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(330, 200), QStringLiteral("系统配置"))
{
    setObjectName(QStringLiteral("systemConfig"));
    const SystemConfig config = readSystemConfig();

    // The radios are the group box's siblings, so the layout moves each of them.
    auto *group = new QGroupBox(QStringLiteral("数据库访问位置"), this);
    group->setGeometry(12, 10, 306, 56);
    m_local = new QRadioButton(QStringLiteral("本地数据库"), this);
    m_local->setGeometry(30, 34, 120, 22);
    m_remote = new QRadioButton(QStringLiteral("远程数据库"), this);
    m_remote->setGeometry(170, 34, 120, 22);
    auto *choice = new QButtonGroup(this);
    choice->addButton(m_local, 0);
    choice->addButton(m_remote, 1);
    (config.odbcType == 1 ? m_remote : m_local)->setChecked(true);

    auto *addressLabel = new QLabel(QStringLiteral("本机IP地址:"), this);
    addressLabel->setGeometry(20, 82, 90, 22);
    m_address = new QComboBox(this);
    m_address->setEditable(true);
    m_address->addItems(localIpList().addresses);
    m_address->setEditText(config.serverIp);
    m_address->setGeometry(112, 80, 200, 24);

    auto *portLabel = new QLabel(QStringLiteral("本机端口号:"), this);
    portLabel->setGeometry(20, 118, 90, 22);
    m_port = new QLineEdit(config.portId, this);
    m_port->setGeometry(112, 116, 200, 24);

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(120, 158, 80, 28);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(220, 158, 80, 28);
    connect(ok, &QPushButton::clicked, this, &SystemConfigDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    attachLayout();
}

void SystemConfigDialog::save()
{
    SystemConfig config;
    config.odbcType = m_remote->isChecked() ? 1 : 0;
    config.serverIp = m_address->currentText();
    config.portId = m_port->text();
    QString error;
    if (!saveSystemConfig(config, error)) {
        // A configuration that was not written must not be reported as saved.
        prompt().message(QStringLiteral("提示"), QStringLiteral("保存失败:%1").arg(error), PromptIcon::Exclamation);
        return;
    }
    accept();
}

}  // namespace dbkeel
