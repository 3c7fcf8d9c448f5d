#include "dictionaries/LineTypeDialog.h"

#include "dictionaries/DictionaryRowDialog.h"
#include "screens/ScreenControls.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace dbkeel {

LineTypeDialog::LineTypeDialog(QWidget *parent) : ScreenDialog(parent, QSize(560, 400), QStringLiteral("线创建"))
{
    setObjectName(QStringLiteral("LineTypeDialog"));
    m_list = placeControl<ReportListView>(this, {10, 10, 540, 290}, QStringLiteral("list"));
    m_list->setExtendedStyle(ReportListView::GridFullRowStyle);
    m_list->setListTextColor(listcolor::Blue);

    // The search controls have no function on this screen.
    placeControl<QComboBox>(this, {10, 312, 90, 22}, QStringLiteral("searchMode"))
        ->addItems({QStringLiteral("线编号"), QStringLiteral("线名称")});
    placeControl<QLineEdit>(this, {106, 312, 120, 22}, QStringLiteral("searchText"));
    placeButton(this, {232, 310, 70, 26}, QStringLiteral("checkButton"), QStringLiteral("检测..."),
                QStringLiteral("校验"))
        ->hide();

    m_update = placeButton(this, {374, 340, 80, 26}, QStringLiteral("updateButton"), QStringLiteral("更新"),
                           QStringLiteral("查询"));
    m_update->setDefault(true);
    QPushButton *cancel = placeButton(this, {470, 340, 80, 26}, QStringLiteral("cancelButton"), QStringLiteral("取消"),
                                      QStringLiteral("取消操作"));

    auto *left = placeControl<QLabel>(this, {10, 372, 250, 20}, QStringLiteral("leftStatus"));
    auto *progress = placeControl<QProgressBar>(this, {266, 374, 120, 16}, QStringLiteral("progress"));
    auto *right = placeControl<QLabel>(this, {394, 372, 156, 20}, QStringLiteral("rightStatus"));
    showStatus(m_editor.status(), left, right, progress);

    connect(m_update, &QPushButton::clicked, &m_editor, &LineTypeEditor::store);
    connect(cancel, &QPushButton::clicked, this, &LineTypeDialog::reject);
    editRowsOnDoubleClick(this, m_list, m_editor, &DictionaryRowDialog::edit);
    followBusy(m_update, &m_editor, &LineTypeEditor::storeRunning, QStringLiteral("更新..."));

    m_editor.setColumns(m_list->width() - 2 * m_list->frameWidth());
    m_list->setModel(&m_editor.list());
    m_editor.load();
    attachLayout();
}

}  // namespace dbkeel
