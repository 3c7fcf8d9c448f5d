#include "console/ComputerRegistrationDialog.h"

#include "screens/ScreenControls.h"
#include "widgets/IpAddressEdit.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel {

namespace {

constexpr int kLabelLeft = 400, kFieldLeft = 460, kFieldWidth = 130, kRowHeight = 24;

}  // namespace

ComputerRegistrationDialog::ComputerRegistrationDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(600, 300), QStringLiteral("添加其他计算机"))
{
    setObjectName(QStringLiteral("ComputerRegistrationDialog"));
    auto *list = placeControl<ReportListView>(this, {10, 10, 380, 280}, QStringLiteral("list"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);

    const auto field = [this](int top, const QString &label, const QString &name) {
        return placeLabelled<QLineEdit>(this, kLabelLeft, label, {kFieldLeft, top, kFieldWidth, kRowHeight}, name);
    };
    m_name = field(10, QStringLiteral("名称:"), QStringLiteral("name"));
    m_number = field(44, QStringLiteral("编号:"), QStringLiteral("number"));
    m_ip = placeLabelled<IpAddressEdit>(this, kLabelLeft, QStringLiteral("IP地址:"),
                                        {kFieldLeft, 78, kFieldWidth, kRowHeight}, QStringLiteral("ip"));
    m_port = field(112, QStringLiteral("端口:"), QStringLiteral("port"));
    m_type = placeLabelled<QComboBox>(this, kLabelLeft, QStringLiteral("类型:"),
                                      {kFieldLeft, 146, kFieldWidth, kRowHeight}, QStringLiteral("type"));
    m_type->addItems({ComputerRegistrationEditor::kLoginMachine, ComputerRegistrationEditor::kOtherComputer});
    m_type->setCurrentIndex(0);

    QPushButton *add = placeButton(this, {410, 190, 80, 28}, QStringLiteral("add"), QStringLiteral("添加"),
                                   QStringLiteral("添加"));
    QPushButton *deleteAll = placeButton(this, {500, 190, 80, 28}, QStringLiteral("deleteAll"),
                                         QStringLiteral("删除全部"), QStringLiteral("删除全部"));
    QPushButton *ok = placeButton(this, {410, 240, 80, 28}, QStringLiteral("ok"), QStringLiteral("确定"),
                                  QStringLiteral("确定"));
    QPushButton *cancel = placeButton(this, {500, 240, 80, 28}, QStringLiteral("cancel"), QStringLiteral("取消"),
                                      QStringLiteral("取消操作"));
    connect(add, &QPushButton::clicked, this, &ComputerRegistrationDialog::add);
    connect(deleteAll, &QPushButton::clicked, this, [this] { m_computers.deleteAll(); });
    connect(ok, &QPushButton::clicked, this, [this] {
        m_computers.save();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { m_computers.deleteRow(index.row()); });

    m_computers.setColumns(list->width());
    list->setModel(&m_computers.list());
    m_computers.load();
    attachLayout();
}

QWidget *ComputerRegistrationDialog::controlOf(LoginField field) const
{
    switch (field) {
    case LoginField::Port: return m_port;
    case LoginField::Address: return m_ip;
    case LoginField::Number: return m_number;
    case LoginField::Name: return m_name;
    case LoginField::Type: break;
    }
    return nullptr;
}

void ComputerRegistrationDialog::add()
{
    const LoginComputerInput input{m_type->currentText(), m_port->text(), m_ip->text(), m_number->text(),
                                   m_name->text()};
    if (const std::optional<LoginField> failed = m_computers.add(input)) {
        if (QWidget *control = controlOf(*failed))
            control->setFocus();
    }
}

}  // namespace dbkeel
