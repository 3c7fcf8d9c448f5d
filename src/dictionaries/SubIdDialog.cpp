#include "dictionaries/SubIdDialog.h"

#include "dictionaries/SubIdRowDialog.h"
#include "screens/ScreenControls.h"
#include "widgets/ReportListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace dbkeel {

SubIdDialog::SubIdDialog(QWidget *parent) : ScreenDialog(parent, QSize(800, 520), QStringLiteral("新建基本信息subid"))
{
    setObjectName(QStringLiteral("SubIdDialog"));
    auto *filter = placeLabelled<QLineEdit>(this, 10, QStringLiteral("车辆信息:"), {80, 12, 140, 22},
                                            QStringLiteral("fieldFilter"));
    m_fields = placeControl<QComboBox>(this, {230, 12, 200, 22}, QStringLiteral("fields"));
    QPushButton *add = placeButton(this, {444, 11, 80, 24}, QStringLiteral("addButton"), QStringLiteral("新增"),
                                   QStringLiteral("添加新sub内容"));
    QPushButton *deleteAll = placeButton(this, {532, 11, 110, 24}, QStringLiteral("deleteAllButton"),
                                         QStringLiteral("删除当前全部"), QStringLiteral("删除当前所有信息"));

    m_list = placeControl<ReportListView>(this, {10, 44, 780, 360}, QStringLiteral("list"));
    m_list->setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    m_list->setListTextColor(listcolor::Blue);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);

    const struct {
        const char *objectName, *text, *toolTip;
    } buttons[] = {{"selectAllButton", "全选", "全选"},         {"invertButton", "反选", "反选"},
                   {"storeButton", "更新", "更新当前可显状态"}, {"defaultButton", "缺省", "默认"},
                   {"exportButton", "导出", "导出数据"},        {"importButton", "导入", "导入数据"},
                   {"checkButton", "校验", "校验数据"},         {"cancelButton", "取消", ""}};
    QList<QPushButton *> bottom;
    for (const auto &b : buttons)
        bottom << placeButton(this, {10 + 98 * int(bottom.size()), 414, 90, 26}, QString::fromLatin1(b.objectName),
                              QString::fromUtf8(b.text), QString::fromUtf8(b.toolTip));
    auto *onlyField = placeControl<QCheckBox>(this, {10, 450, 330, 22}, QStringLiteral("onlyCurrentField"),
                                              QStringLiteral("只导出当前下拉列表所选字段对应的内容"));
    placeLabel(this, {350, 450, 440, 22}, QStringLiteral("该处“更新”指登录中需要显示字段所包含的内容信息"));
    placeLabel(this, {10, 484, 330, 22}, QStringLiteral("双击删除信息(部分信息受保护,不能删除)"));
    showStatus(m_editor.status(), placeControl<QLabel>(this, {350, 484, 440, 22}, QStringLiteral("leftStatus")),
               nullptr, nullptr);

    connect(filter, &QLineEdit::editingFinished, this, [this, filter] { m_editor.filterFields(filter->text()); });
    connect(m_fields, &QComboBox::activated, this,
            [this](int index) { m_editor.chooseField(m_fields->itemText(index)); });
    connect(&m_editor, &SubIdEditor::fieldsChanged, this, &SubIdDialog::showFieldNames);
    connect(&m_editor, &SubIdEditor::canAddChanged, add, &QPushButton::setEnabled);
    connect(&m_editor, &SubIdEditor::listLoading, m_list, [this](bool loading) { m_list->setRedraw(!loading); });
    connect(add, &QPushButton::clicked, this, &SubIdDialog::add);
    connect(deleteAll, &QPushButton::clicked, &m_editor, &SubIdEditor::deleteAllShown);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { m_editor.deleteValue(m_list->selectedRow()); });
    connect(m_list, &QWidget::customContextMenuRequested, this, &SubIdDialog::changeMainAttribute);
    connect(bottom[0], &QPushButton::clicked, this, [this] { m_editor.list().setAllChecked(true); });
    connect(bottom[1], &QPushButton::clicked, &m_editor.list(), &ReportListModel::invertChecks);
    connect(bottom[2], &QPushButton::clicked, &m_editor, &SubIdEditor::storeLoginFlags);
    connect(bottom[3], &QPushButton::clicked, &m_editor, &SubIdEditor::applyDefaultMainIds);
    connect(bottom[4], &QPushButton::clicked, this, [this, onlyField] { m_editor.exportFile(onlyField->isChecked()); });
    connect(bottom[5], &QPushButton::clicked, &m_editor, &SubIdEditor::importFile);
    connect(bottom[6], &QPushButton::clicked, &m_editor, &SubIdEditor::check);
    connect(bottom[7], &QPushButton::clicked, this, &SubIdDialog::reject);
    followBusy(bottom[6], &m_editor, &SubIdEditor::checkRunning, QStringLiteral("校验中..."));

    m_editor.setColumns(m_list->width() - 2 * m_list->frameWidth());
    m_list->setModel(&m_editor.list());
    m_editor.open();
    attachLayout();
}

void SubIdDialog::showFieldNames()
{
    const QSignalBlocker blocker(m_fields);
    m_fields->clear();
    m_fields->addItems(m_editor.fieldNames());
    m_fields->setCurrentIndex(int(m_editor.fieldNames().indexOf(m_editor.currentField())));
}

void SubIdDialog::add()
{
    if (m_editor.prepareAdd())
        m_editor.finishAdd(SubIdRowDialog::edit(this));
}

void SubIdDialog::changeMainAttribute()
{
    const int row = m_list->selectedRow();
    if (m_editor.prepareMainAttribute(row))
        m_editor.finishMainAttribute(row, SubIdRowDialog::edit(this));
}

}  // namespace dbkeel
