#include "maintenance/SystemLogDialog.h"

#include "screens/ScreenControls.h"

#include <QComboBox>
#include <QLineEdit>

namespace dbkeel {

SystemLogDialog::SystemLogDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(760, 460), QStringLiteral("系统日志管理"))
{
    setObjectName(QStringLiteral("SystemLogDialog"));
    auto *list = placeControl<ReportListView>(this, {10, 10, 740, 380}, QStringLiteral("list"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);
    list->setListBackgroundColor(listcolor::PaleGreen);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto *filter = placeLabelled<QComboBox>(this, 10, QStringLiteral("操作条件"), {80, 412, 110, 24},
                                            QStringLiteral("filter"));
    filter->addItems(SystemLogEditor::filterNames());
    auto *text = placeControl<QLineEdit>(this, {200, 412, 220, 24}, QStringLiteral("filterText"));
    QPushButton *query = placeButton(this, {450, 410, 90, 28}, QStringLiteral("queryButton"), QStringLiteral("查询"));
    QPushButton *remove = placeButton(this, {550, 410, 90, 28}, QStringLiteral("deleteButton"), QStringLiteral("删除"));
    QPushButton *quit = placeButton(this, {660, 410, 90, 28}, QStringLiteral("quitButton"), QStringLiteral("退出"));
    remove->setVisible(SystemLogEditor::mayDelete());

    const auto chosenFilter = [filter] { return LogFilter(filter->currentIndex()); };
    connect(filter, &QComboBox::currentIndexChanged, this, [text, chosenFilter] {
        if (const std::optional<QString> preset = SystemLogEditor::filterPreset(chosenFilter()))
            text->setText(*preset);
    });
    connect(query, &QPushButton::clicked, this,
            [this, text, chosenFilter] { m_editor.query(chosenFilter(), text->text()); });
    connect(remove, &QPushButton::clicked, this, [this, list, text, chosenFilter] {
        m_editor.deleteRows(list->selectedRows(), chosenFilter(), text->text());
    });
    connect(quit, &QPushButton::clicked, this, &SystemLogDialog::reject);
    connect(&m_editor, &SystemLogEditor::titleChanged, this, &SystemLogDialog::setWindowTitle);

    m_editor.setColumns(list->width() - 2 * list->frameWidth());
    list->setModel(&m_editor.list());
    attachLayout();
}

}  // namespace dbkeel
