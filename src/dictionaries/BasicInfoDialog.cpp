#include "dictionaries/BasicInfoDialog.h"

#include "screens/ScreenControls.h"
#include "widgets/ReportListView.h"

#include <QLabel>
#include <QPushButton>

namespace dbkeel {

BasicInfoDialog::BasicInfoDialog(QWidget *parent) : ScreenDialog(parent, QSize(560, 400), QStringLiteral("基本信息"))
{
    setObjectName(QStringLiteral("BasicInfoDialog"));
    auto *list = placeControl<ReportListView>(this, {10, 10, 540, 310}, QStringLiteral("list"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);
    placeLabel(this, {10, 330, 400, 20}, QStringLiteral("本信息仅供参考查看，不允许进行手动操作"));
    QPushButton *cancel = placeButton(this, {470, 362, 80, 26}, QStringLiteral("cancelButton"), QStringLiteral("取消"),
                                      QStringLiteral("取消操作"));
    connect(cancel, &QPushButton::clicked, this, &BasicInfoDialog::reject);

    m_fields.setColumns(list->width() - 2 * list->frameWidth());
    list->setModel(&m_fields.list());
    m_fields.load();
    attachLayout();
}

}  // namespace dbkeel
