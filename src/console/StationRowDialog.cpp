#include "console/StationRowDialog.h"

#include "console/StationAddress.h"
#include "platform/Prompt.h"
#include "screens/ScreenControls.h"
#include "widgets/IpAddressEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel {

namespace {

constexpr int kLabelLeft = 14, kFieldLeft = 100, kFieldWidth = 230, kRowHeight = 24;

}  // namespace

StationRowDialog::StationRowDialog(QWidget *parent, const StationRowRecord &record)
    : ScreenDialog(parent, QSize(380, 280), QString()), m_record(record)
{
    setObjectName(QStringLiteral("StationRowDialog"));
    const auto field = [this](int top, const QString &label, const QString &name, const QString &text,
                              int width = kFieldWidth) {
        return placeLabelled<QLineEdit>(this, kLabelLeft, label, {kFieldLeft, top, width, kRowHeight}, name, text);
    };
    const bool addressOnly = record.isAddressOnly();
    m_address = placeLabelled<IpAddressEdit>(this, kLabelLeft, QStringLiteral("IP:"), {kFieldLeft, 14, 140, kRowHeight},
                                             QStringLiteral("address"));
    m_address->setText(record.address);
    m_port = field(46, QStringLiteral("端口:"), QStringLiteral("port"), record.port);
    m_brakeType = placeLabelled<QComboBox>(this, kLabelLeft, QStringLiteral("制动台类型:"),
                                           {kFieldLeft, 78, kFieldWidth, kRowHeight}, QStringLiteral("brakeType"));
    m_brakeType->setEditable(true);
    m_brakeType->addItems({QStringLiteral("转鼓台"), QStringLiteral("滚筒式"), QStringLiteral("平板台")});
    m_brakeType->setEditText(record.brakeType);
    m_areaCode = field(110, QStringLiteral("站区划代号:"), QStringLiteral("areaCode"), record.areaCode);
    m_path = field(142, QStringLiteral("设备路径:"), QStringLiteral("devicePath"),
                   addressOnly ? QString() : record.devicePath, kFieldWidth - 36);
    QPushButton *browse = placeButton(this, {kFieldLeft + kFieldWidth - 32, 142, 32, kRowHeight},
                                      QStringLiteral("browse"), QStringLiteral("..."), QStringLiteral("设置设备路径"));
    m_remark = field(174, QStringLiteral("设备说明:"), QStringLiteral("deviceRemark"),
                     addressOnly ? QString() : record.deviceRemark);
    for (QWidget *deviceControl : std::initializer_list<QWidget *>{m_path, m_remark, browse})
        deviceControl->setEnabled(!addressOnly);

    QPushButton *ok = placeButton(this, {150, 226, 80, 28}, QStringLiteral("ok"), QStringLiteral("确定"),
                                  QStringLiteral("确定"));
    ok->setDefault(true);
    QPushButton *cancel = placeButton(this, {250, 226, 80, 28}, QStringLiteral("cancel"), QStringLiteral("取消"),
                                      QStringLiteral("退出系统"));
    connect(browse, &QPushButton::clicked, this, &StationRowDialog::chooseDevicePath);
    connect(ok, &QPushButton::clicked, this, [this] {
        readBack();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    attachLayout();
}

bool StationRowDialog::edit(QWidget *parent, StationRowRecord &record)
{
    StationRowDialog editor(parent, record);
    if (prompt().runModal(editor) != QDialog::Accepted)
        return false;
    record = editor.m_record;
    return true;
}

void StationRowDialog::readBack()
{
    m_record = {m_address->text(),  m_port->text(), m_brakeType->currentText(),
                m_areaCode->text(), m_path->text(), m_remark->text()};
    m_record.cutToLimits();
}

void StationRowDialog::chooseDevicePath()
{
    const std::optional<DeviceChoice> choice = chooseDeviceLibrary();
    if (!choice)
        return;
    m_path->setText(choice->path);
    if (choice->remark)
        m_remark->setText(*choice->remark);
}

std::optional<QString> ChangeAddress(QWidget *parent, const QString &nodeText, quintptr treeNode)
{
    std::optional<StationRowRecord> record = addressChangeRecord(nodeText, treeNode);
    if (!record || !StationRowDialog::edit(parent, *record))
        return std::nullopt;
    return applyAddressChange(*record, treeNode, nodeText);
}

}  // namespace dbkeel
