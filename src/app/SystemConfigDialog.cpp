#include "SystemConfigDialog.h"

#include "AppConfig.h"
#include "Prompt.h"

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
    local_ = new QRadioButton(QStringLiteral("本地数据库"), this);
    local_->setGeometry(30, 34, 120, 22);
    remote_ = new QRadioButton(QStringLiteral("远程数据库"), this);
    remote_->setGeometry(170, 34, 120, 22);
    auto *choice = new QButtonGroup(this);
    choice->addButton(local_, 0);
    choice->addButton(remote_, 1);
    (config.odbcType == 1 ? remote_ : local_)->setChecked(true);

    auto *addressLabel = new QLabel(QStringLiteral("本机IP地址:"), this);
    addressLabel->setGeometry(20, 82, 90, 22);
    address_ = new QComboBox(this);
    address_->setEditable(true);
    address_->addItems(localIpList().addresses);
    address_->setEditText(config.serverIp);
    address_->setGeometry(112, 80, 200, 24);

    auto *portLabel = new QLabel(QStringLiteral("本机端口号:"), this);
    portLabel->setGeometry(20, 118, 90, 22);
    port_ = new QLineEdit(config.portId, this);
    port_->setGeometry(112, 116, 200, 24);

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
    config.odbcType = remote_->isChecked() ? 1 : 0;
    config.serverIp = address_->currentText();
    config.portId = port_->text();
    QString error;
    if (!saveSystemConfig(config, error)) {
        // A configuration that was not written must not be reported as saved.
        prompt().message(QStringLiteral("提示"), QStringLiteral("保存失败:%1").arg(error), PromptIcon::Exclamation);
        return;
    }
    accept();
}

}  // namespace dbkeel
