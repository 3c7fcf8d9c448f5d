#include "dictionaries/OutlineItemDialog.h"

#include "dictionaries/OutlineItemRowDialog.h"
#include "screens/ScreenControls.h"
#include "widgets/ReportListView.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace dbkeel {

OutlineItemDialog::OutlineItemDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(640, 420), QStringLiteral("设置外检项目"))
{
    setObjectName(QStringLiteral("OutlineItemDialog"));
    m_list = placeControl<ReportListView>(this, {10, 10, 620, 330}, QStringLiteral("list"));
    m_list->setExtendedStyle(ReportListView::GridFullRowStyle);
    m_list->setListTextColor(listcolor::Blue);

    QPushButton *exportButton = placeButton(this, {10, 352, 70, 26}, QStringLiteral("exportButton"),
                                            QStringLiteral("导出"), QStringLiteral("校验"));
    QPushButton *importButton = placeButton(this, {86, 352, 70, 26}, QStringLiteral("importButton"),
                                            QStringLiteral("导入"), QStringLiteral("查询"));
    importButton->setDefault(true);
    QPushButton *cancel = placeButton(this, {550, 352, 80, 26}, QStringLiteral("cancelButton"), QStringLiteral("取消"),
                                      QStringLiteral("取消操作"));
    auto *status = placeControl<QLabel>(this, {10, 390, 400, 20}, QStringLiteral("leftStatus"));
    auto *progress = placeControl<QProgressBar>(this, {420, 392, 210, 16}, QStringLiteral("progress"));
    showStatus(m_editor.status(), status, nullptr, progress);

    connect(exportButton, &QPushButton::clicked, &m_editor, &OutlineItemEditor::exportAll);
    connect(importButton, &QPushButton::clicked, &m_editor, &OutlineItemEditor::importFile);
    connect(cancel, &QPushButton::clicked, this, &OutlineItemDialog::reject);
    editRowsOnDoubleClick(this, m_list, m_editor, &OutlineItemRowDialog::edit);

    m_editor.setColumns(m_list->width() - 2 * m_list->frameWidth());
    m_list->setModel(&m_editor.list());
    m_editor.load();
    attachLayout();
}

}  // namespace dbkeel
