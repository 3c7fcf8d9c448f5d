#include "dictionaries/SubIdRowDialog.h"

#include "dictionaries/SubIdEditor.h"
#include "dictionaries/SubIdTables.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/ScreenControls.h"
#include "widgets/GbkTextLimit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel {

SubIdRowDialog::SubIdRowDialog(QWidget *parent) : ScreenDialog(parent, QSize(360, 170), QStringLiteral("添加SUBID"))
{
    setObjectName(QStringLiteral("SubIdRowDialog"));
    m_subId = placeLabelled<QLineEdit>(this, 16, QStringLiteral("SUBID编号:"), {100, 16, 160, 22},
                                       QStringLiteral("subId"));
    QPushButton *automatic = placeButton(this, {270, 15, 74, 24}, QStringLiteral("autoButton"), QStringLiteral("自动"));
    m_value = placeLabelled<QLineEdit>(this, 16, QStringLiteral("SUBID内容:"), {100, 50, 244, 22},
                                       QStringLiteral("value"));
    m_mainName = placeLabelled<QComboBox>(this, 16, QStringLiteral("所属类型:"), {100, 84, 244, 22},
                                          QStringLiteral("mainName"));
    limitGbkBytes(m_subId, SubIdRecord::kSubIdBytes);
    limitGbkBytes(m_value, SubIdRecord::kValueBytes);

    QPushButton *ok = placeButton(this, {174, 128, 80, 26}, QStringLiteral("okButton"), QStringLiteral("确定"));
    ok->setDefault(true);
    QPushButton *cancel = placeButton(this, {264, 128, 80, 26}, QStringLiteral("cancelButton"), QStringLiteral("取消"));
    connect(ok, &QPushButton::clicked, this, &SubIdRowDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SubIdRowDialog::reject);
    connect(automatic, &QPushButton::clicked, this, [this] { m_subId->setText(subIdRecord().suggestedSubId); });

    const SubIdRecord &record = subIdRecord();
    for (const MainValue &value : mainValues(toInt(record.infoId)))
        m_mainName->addItem(value.name);
    m_mainName->setCurrentIndex(-1);
    if (record.mode == SubIdRecord::ChangeMainAttribute) {
        automatic->setEnabled(false);
        m_subId->setReadOnly(true);
        m_subId->setText(record.subId);
        m_value->setText(record.value);
        if (!record.mainName.isEmpty())
            m_mainName->setCurrentIndex(m_mainName->findText(record.mainName, Qt::MatchStartsWith));
    }
    attachLayout();
}

bool SubIdRowDialog::edit(QWidget *parent)
{
    SubIdRowDialog dialog(parent);
    return prompt().runModal(dialog) == QDialog::Accepted;
}

void SubIdRowDialog::accept()
{
    switch (enterSubId(m_subId->text(), m_value->text(), m_mainName->currentText())) {
    case SubIdEntry::Accepted: ScreenDialog::accept(); break;
    case SubIdEntry::SubIdOutOfRange: m_subId->setFocus(); break;
    case SubIdEntry::ValueEmpty: m_value->setFocus(); break;
    }
}

}  // namespace dbkeel
