#include "UpdateIpData.h"

#include "ConsoleOperations.h"
#include "Gbk.h"
#include "HostLib.h"
#include "Paths.h"
#include "Prompt.h"
#include "StationAddress.h"
#include "StationRegistry.h"
#include "Text.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel {

namespace {

const QString kUnused = QStringLiteral("-1");
constexpr int kLabelLeft = 14, kLabelWidth = 86, kFieldLeft = 100, kFieldWidth = 230, kRowHeight = 24;

// The limits of the caller's buffers, in GBK bytes with the NUL.
constexpr int kAddressLimit = 99, kPortLimit = 19, kBrakeLimit = 99, kAreaLimit = 99, kPathLimit = 399,
              kRemarkLimit = 89;

}  // namespace

StationRowRecord StationRowRecord::addressOnly(const QString &address, const QString &port)
{
    return {address, port, {}, {}, kUnused, kUnused};
}

bool StationRowRecord::isAddressOnly() const
{
    return devicePath == kUnused && deviceRemark == kUnused;
}

UpdateIpData::UpdateIpData(QWidget *parent, const StationRowRecord &record)
    : ScreenDialog(parent, QSize(380, 280), QString()), m_record(record)
{
    setObjectName(QStringLiteral("UpdateIpData"));
    m_address = lineEdit(QStringLiteral("IP:"), QStringLiteral("address"), record.address, 14);
    m_port = lineEdit(QStringLiteral("端口:"), QStringLiteral("port"), record.port, 46);
    auto *brakeLabel = new QLabel(QStringLiteral("制动台类型:"), this);
    brakeLabel->setGeometry(kLabelLeft, 78, kLabelWidth, kRowHeight);
    m_brakeType = new QComboBox(this);
    m_brakeType->setObjectName(QStringLiteral("brakeType"));
    m_brakeType->setEditable(true);
    m_brakeType->addItems({QStringLiteral("转鼓台"), QStringLiteral("滚筒式"), QStringLiteral("平板台")});
    m_brakeType->setEditText(record.brakeType);
    m_brakeType->setGeometry(kFieldLeft, 78, kFieldWidth, kRowHeight);
    m_areaCode = lineEdit(QStringLiteral("站区划代号:"), QStringLiteral("areaCode"), record.areaCode, 110);
    const bool addressOnly = record.isAddressOnly();
    m_path = lineEdit(QStringLiteral("设备路径:"), QStringLiteral("devicePath"), addressOnly ? QString() : record.devicePath, 142);
    m_path->resize(kFieldWidth - 36, kRowHeight);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("browse"));
    m_browse->setToolTip(QStringLiteral("设置设备路径"));
    m_browse->setGeometry(kFieldLeft + kFieldWidth - 32, 142, 32, kRowHeight);
    m_remark = lineEdit(QStringLiteral("设备说明:"), QStringLiteral("deviceRemark"), addressOnly ? QString() : record.deviceRemark, 174);
    for (QWidget *deviceControl : {static_cast<QWidget *>(m_path), static_cast<QWidget *>(m_remark),
                                   static_cast<QWidget *>(m_browse)})
        deviceControl->setEnabled(!addressOnly);

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setToolTip(QStringLiteral("确定"));
    ok->setDefault(true);
    ok->setGeometry(150, 226, 80, 28);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setToolTip(QStringLiteral("退出系统"));
    cancel->setGeometry(250, 226, 80, 28);
    connect(m_browse, &QPushButton::clicked, this, &UpdateIpData::chooseDevicePath);
    connect(ok, &QPushButton::clicked, this, [this] {
        readBack();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    attachLayout();
}

QLineEdit *UpdateIpData::lineEdit(const QString &label, const QString &name, const QString &text, int top)
{
    auto *caption = new QLabel(label, this);
    caption->setGeometry(kLabelLeft, top, kLabelWidth, kRowHeight);
    auto *edit = new QLineEdit(text, this);
    edit->setObjectName(name);
    edit->setGeometry(kFieldLeft, top, kFieldWidth, kRowHeight);
    return edit;
}

void UpdateIpData::readBack()
{
    m_record.address = cutToGbkBytes(m_address->text(), kAddressLimit);
    m_record.port = cutToGbkBytes(m_port->text(), kPortLimit);
    m_record.brakeType = cutToGbkBytes(m_brakeType->currentText(), kBrakeLimit);
    m_record.areaCode = cutToGbkBytes(m_areaCode->text(), kAreaLimit);
    m_record.devicePath = cutToGbkBytes(m_path->text(), kPathLimit);
    m_record.deviceRemark = cutToGbkBytes(m_remark->text(), kRemarkLimit);
}

void UpdateIpData::chooseDevicePath()
{
    FileRequest request;
    request.initialPath = joinPath(ConsoleOperations::installationFolder(QStringLiteral("DEVBIN")), QStringLiteral("*.dll"));
    request.defaultExtension = QStringLiteral("dll");
    request.filter = QStringLiteral("open files (*.dll)|*.dll|open files (*.dev)|*.dev|ALL files (*.*)|*.*||");
    const QString path = prompt().chooseFile(request);
    if (path.isEmpty())
        return;
    m_path->setText(path);
    QByteArray version, name, description;
    if (hostLib().getVers(toGbk(path), version, name, description) > 0)
        m_remark->setText(QStringLiteral("Ver:%1 %2 %3").arg(fromGbk(version), fromGbk(name), fromGbk(description)));
}

std::optional<QString> ChangeAddress(QWidget *parent, const QString &nodeText, quintptr treeNode)
{
    if (!nodeText.contains(QStringLiteral("工位")) && !nodeText.contains(QLatin1Char('[')))
        return std::nullopt;
    const int index = stationRegistry().indexOfNode(treeNode);
    if (index < 0)
        return std::nullopt;
    const RegistryEntry entry = stationRegistry().entry(index);
    UpdateIpData editor(parent, StationRowRecord::addressOnly(entry.station.ip, QString::number(toInt(entry.station.port))));
    if (prompt().runModal(editor) != QDialog::Accepted)
        return std::nullopt;
    const StationRowRecord changed = editor.record();
    return ApplyAddress(changed.address, toInt(changed.port), treeNode, nodeText);
}

}  // namespace dbkeel
