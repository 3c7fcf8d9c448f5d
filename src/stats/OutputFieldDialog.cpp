#include "stats/OutputFieldDialog.h"

#include "screens/ScreenControls.h"

#include <QLineEdit>

namespace dbkeel {

OutputFieldDialog::OutputFieldDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(700, 480), QStringLiteral("外输联网数据表字段匹配"))
{
    setObjectName(QStringLiteral("OutputFieldDialog"));
    auto *list = placeControl<ReportListView>(this, {10, 10, 680, 340}, QStringLiteral("paramList"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    auto *table = placeLabelled<QLineEdit>(this, 10, QStringLiteral("外网数据库表名:"), {130, 362, 200, 24},
                                           QStringLiteral("tableName"));
    auto *data = placeLabelled<QLineEdit>(this, 350, QStringLiteral("外网表数据字段名:"), {480, 362, 210, 24},
                                          QStringLiteral("dataColumn"));
    auto *judge = placeLabelled<QLineEdit>(this, 350, QStringLiteral("外网表判定字段名:"), {480, 396, 210, 24},
                                           QStringLiteral("judgeColumn"));
    QPushButton *stage = placeButton(this, {10, 438, 100, 30}, QStringLiteral("stageButton"), QStringLiteral("暂存"));
    QPushButton *clear = placeButton(this, {120, 438, 100, 30}, QStringLiteral("clearButton"),
                                     QStringLiteral("清楚关联"));
    QPushButton *save = placeButton(this, {480, 438, 100, 30}, QStringLiteral("okButton"), QStringLiteral("确定"));
    QPushButton *cancel = placeButton(this, {590, 438, 100, 30}, QStringLiteral("cancelButton"),
                                      QStringLiteral("取消"));

    connect(list, &QAbstractItemView::clicked, this, [=, this](const QModelIndex &index) {
        const OutputAssociation association = m_editor.choose(index.row());
        data->setText(association.dataColumn);
        judge->setText(association.judgeColumn);
        if (!association.table.isEmpty())
            table->setText(association.table);
    });
    connect(stage, &QPushButton::clicked, this, [=, this] {
        m_editor.stage({table->text(), data->text(), judge->text()});
    });
    connect(clear, &QPushButton::clicked, &m_editor, &OutputFieldEditor::clearAssociations);
    connect(save, &QPushButton::clicked, &m_editor, &OutputFieldEditor::save);
    connect(cancel, &QPushButton::clicked, this, &OutputFieldDialog::reject);

    m_editor.setColumns(list->width() - 2 * list->frameWidth());
    list->setModel(&m_editor.list());
    m_editor.load();
    attachLayout();
}

}  // namespace dbkeel
