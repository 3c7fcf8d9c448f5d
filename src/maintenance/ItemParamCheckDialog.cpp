#include "maintenance/ItemParamCheckDialog.h"

#include "screens/ScreenControls.h"

#include <QLabel>
#include <QProgressBar>

namespace dbkeel {

ItemParamCheckDialog::ItemParamCheckDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(640, 420), QStringLiteral("校验项目参数对应关系"))
{
    setObjectName(QStringLiteral("ItemParamCheckDialog"));
    auto *list = placeControl<ReportListView>(this, {10, 10, 620, 330}, QStringLiteral("list"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);

    auto *status = placeControl<QLabel>(this, {10, 350, 300, 20}, QStringLiteral("status"));
    auto *progress = placeControl<QProgressBar>(this, {320, 352, 310, 16}, QStringLiteral("progress"));
    QPushButton *load = placeButton(this, {340, 380, 90, 28}, QStringLiteral("queryButton"), QStringLiteral("查询"),
                                    QStringLiteral("查询"));
    QPushButton *check = placeButton(this, {440, 380, 90, 28}, QStringLiteral("checkButton"), QStringLiteral("校验"),
                                     QStringLiteral("检查"));
    QPushButton *cancel = placeButton(this, {540, 380, 90, 28}, QStringLiteral("cancelButton"), QStringLiteral("取消"),
                                      QStringLiteral("退出"));
    check->setDefault(true);
    showStatus(m_editor.status(), status, nullptr, progress);

    connect(load, &QPushButton::clicked, &m_editor, &ItemParamCheckEditor::load);
    connect(check, &QPushButton::clicked, &m_editor, &ItemParamCheckEditor::check);
    connect(cancel, &QPushButton::clicked, this, &ItemParamCheckDialog::reject);
    connect(list, &QAbstractItemView::doubleClicked, this, [this, list] { m_editor.deleteRow(list->selectedRow()); });

    m_editor.setColumns(list->width() - 2 * list->frameWidth());
    list->setModel(&m_editor.list());
    attachLayout();
}

}  // namespace dbkeel
