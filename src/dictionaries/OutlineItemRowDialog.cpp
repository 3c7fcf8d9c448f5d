#include "dictionaries/OutlineItemRowDialog.h"

#include "dictionaries/OutlineItemEditor.h"
#include "platform/Prompt.h"
#include "screens/ScreenControls.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace dbkeel {

OutlineItemRowDialog::OutlineItemRowDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(400, 280), QStringLiteral("外检项目"))
{
    setObjectName(QStringLiteral("OutlineItemRowDialog"));
    placeLabel(this, {16, 18, 80, 20}, QStringLiteral("项目名称:"));
    m_name = placeControl<QLineEdit>(this, {100, 16, 280, 22}, QStringLiteral("name"));
    placeControl<QGroupBox>(this, {16, 48, 364, 46}, QString(), QStringLiteral("项目类型"));
    m_notVetoing = placeControl<QRadioButton>(this, {40, 66, 120, 22}, QStringLiteral("notVetoing"),
                                              QStringLiteral("非否决项"));
    m_vetoing = placeControl<QRadioButton>(this, {200, 66, 120, 22}, QStringLiteral("vetoing"),
                                           QStringLiteral("否决项(*)"));
    placeLabel(this, {16, 106, 80, 20}, QStringLiteral("项目编号:"));
    m_code = placeControl<QLineEdit>(this, {100, 104, 100, 22}, QStringLiteral("code"));
    placeLabel(this, {210, 106, 50, 20}, QStringLiteral("别名："));
    m_alias = placeControl<QLineEdit>(this, {260, 104, 120, 22}, QStringLiteral("alias"));
    placeLabel(this, {16, 136, 80, 20}, QStringLiteral("说明:"));
    m_description = placeControl<QLineEdit>(this, {100, 134, 280, 22}, QStringLiteral("description"));
    placeControl<QGroupBox>(this, {16, 166, 364, 46}, QString(), QStringLiteral("操作方式"));
    m_insert = placeControl<QRadioButton>(this, {40, 184, 100, 22}, QStringLiteral("insert"), QStringLiteral("插入"));
    m_change = placeControl<QRadioButton>(this, {200, 184, 100, 22}, QStringLiteral("modify"), QStringLiteral("修改"));
    // Two exclusive pairs on one screen: each pair is a group of its own.
    for (auto pair : {std::pair{m_notVetoing, m_vetoing}, std::pair{m_insert, m_change}}) {
        auto *group = new QButtonGroup(this);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    connect(m_insert, &QRadioButton::toggled, m_code, &QLineEdit::setEnabled);

    QPushButton *ok = placeButton(this, {210, 236, 80, 26}, QStringLiteral("okButton"), QStringLiteral("确定"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &OutlineItemRowDialog::accept);
    connect(placeButton(this, {300, 236, 80, 26}, QStringLiteral("cancelButton"), QStringLiteral("取消")),
            &QPushButton::clicked, this, &OutlineItemRowDialog::reject);

    const OutlineRecord &record = outlineRecord();
    m_name->setText(record.name);
    m_code->setText(record.code);
    m_alias->setText(record.alias);
    m_description->setText(record.description);
    (record.vetoing ? m_vetoing : m_notVetoing)->setChecked(true);
    m_change->setChecked(true);
    m_code->setEnabled(false);
    attachLayout();
}

bool OutlineItemRowDialog::edit(QWidget *parent)
{
    OutlineItemRowDialog editor(parent);
    return prompt().runModal(editor) == QDialog::Accepted;
}

void OutlineItemRowDialog::accept()
{
    OutlineRecord &record = outlineRecord();
    record.code = m_code->text();
    record.name = m_name->text();
    record.description = m_description->text();
    record.alias = m_alias->text();
    record.vetoing = m_vetoing->isChecked();
    record.operation = m_insert->isChecked() ? OutlineRecord::Insert : OutlineRecord::Change;
    record.cutToWidths();
    ScreenDialog::accept();
}

}  // namespace dbkeel
