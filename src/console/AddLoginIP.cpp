#include "AddLoginIP.h"

#include "ReportListModel.h"
#include "ReportListView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel {

namespace {

constexpr int kFieldLeft = 400, kLabelWidth = 60, kFieldWidth = 130, kRowHeight = 24;

QPushButton *button(QWidget *parent, const QString &text, const QString &name, const QString &tip, const QRect &place)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setGeometry(place);
    return b;
}

}  // namespace

AddLoginIP::AddLoginIP(QWidget *parent)
    : ScreenDialog(parent, QSize(600, 300), QStringLiteral("添加其他计算机"))
{
    setObjectName(QStringLiteral("AddLoginIP"));
    m_view = new ReportListView(this);
    m_view->setObjectName(QStringLiteral("list"));
    m_view->setGeometry(10, 10, 380, 280);
    m_view->setExtendedStyle(ReportListView::GridFullRowStyle);
    m_view->setListTextColor(listcolor::Blue);
    list().setColumns(LoginComputers::columnSpec(m_view->width()));
    m_computers = std::make_unique<LoginComputers>(list());

    m_name = lineEdit(QStringLiteral("名称:"), QStringLiteral("name"), 10);
    m_number = lineEdit(QStringLiteral("编号:"), QStringLiteral("number"), 44);
    m_ip = lineEdit(QStringLiteral("IP地址:"), QStringLiteral("ip"), 78);
    m_port = lineEdit(QStringLiteral("端口:"), QStringLiteral("port"), 112);
    auto *typeLabel = new QLabel(QStringLiteral("类型:"), this);
    typeLabel->setGeometry(kFieldLeft, 146, kLabelWidth, kRowHeight);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("type"));
    m_type->addItems({LoginComputers::kLoginMachine, LoginComputers::kOtherComputer});
    m_type->setCurrentIndex(0);
    m_type->setGeometry(kFieldLeft + kLabelWidth, 146, kFieldWidth, kRowHeight);

    auto *add = button(this, QStringLiteral("添加"), QStringLiteral("add"), QStringLiteral("添加"), {410, 190, 80, 28});
    auto *deleteAll = button(this, QStringLiteral("删除全部"), QStringLiteral("deleteAll"), QStringLiteral("删除全部"),
                             {500, 190, 80, 28});
    auto *ok = button(this, QStringLiteral("确定"), QStringLiteral("ok"), QStringLiteral("确定"), {410, 240, 80, 28});
    auto *cancel = button(this, QStringLiteral("取消"), QStringLiteral("cancel"), QStringLiteral("取消操作"),
                          {500, 240, 80, 28});
    connect(add, &QPushButton::clicked, this, &AddLoginIP::add);
    connect(deleteAll, &QPushButton::clicked, this, [this] { m_computers->deleteAll(); });
    connect(ok, &QPushButton::clicked, this, &AddLoginIP::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_view, &QAbstractItemView::doubleClicked, this, &AddLoginIP::deleteClickedRow);

    m_computers->load();
    attachLayout();
}

ReportListModel &AddLoginIP::list()
{
    return *m_view->reportModel();
}

QLineEdit *AddLoginIP::lineEdit(const QString &label, const QString &name, int top)
{
    auto *caption = new QLabel(label, this);
    caption->setGeometry(kFieldLeft, top, kLabelWidth, kRowHeight);
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(kFieldLeft + kLabelWidth, top, kFieldWidth, kRowHeight);
    return edit;
}

QWidget *AddLoginIP::controlOf(LoginField field) const
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

void AddLoginIP::add()
{
    const LoginComputerInput input{m_type->currentText(), m_port->text(), m_ip->text(), m_number->text(), m_name->text()};
    if (const std::optional<LoginField> failed = m_computers->add(input)) {
        if (QWidget *control = controlOf(*failed))
            control->setFocus();
    }
}

void AddLoginIP::deleteClickedRow(const QModelIndex &index)
{
    if (index.isValid())
        m_computers->deleteRow(index.row());
}

void AddLoginIP::save()
{
    m_computers->save();
    accept();
}

}  // namespace dbkeel
