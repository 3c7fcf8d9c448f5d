#include "stats/VehicleDesignDialog.h"

#include "core/AppConfig.h"
#include "screens/ScreenControls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace dbkeel {

namespace {
constexpr int kManagerPollMs = 500;
}

VehicleDesignDialog::VehicleDesignDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(780, 500), QStringLiteral("车型表设计"))
{
    setObjectName(QStringLiteral("VehicleDesignDialog"));
    auto *table = placeLabelled<QComboBox>(this, 10, QStringLiteral("车型表名称"), {90, 10, 160, 24},
                                           QStringLiteral("table"));
    for (const VehicleDesign &design : vehicleDesigns())
        table->addItem(design.caption);
    table->setCurrentIndex(-1);
    auto *list = placeControl<ReportListView>(this, {10, 42, 760, 250}, QStringLiteral("fieldList"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);
    list->setListBackgroundColor(listcolor::PaleGreen);

    auto *name = placeLabelled<QLineEdit>(this, 10, QStringLiteral("字段名称"), {80, 302, 160, 24},
                                          QStringLiteral("fieldName"));
    auto *caption = placeLabelled<QLineEdit>(this, 260, QStringLiteral("字段中文"), {330, 302, 160, 24},
                                             QStringLiteral("caption"));
    auto *style = placeLabelled<QComboBox>(this, 510, QStringLiteral("使用类型"), {580, 302, 190, 24},
                                           QStringLiteral("inputStyle"));
    auto *type = placeLabelled<QComboBox>(this, 10, QStringLiteral("数据类型"), {80, 334, 160, 24},
                                          QStringLiteral("dataType"));
    auto *link = placeLabelled<QComboBox>(this, 260, QStringLiteral("关联字段"), {330, 334, 160, 24},
                                          QStringLiteral("link"));
    auto *value = placeLabelled<QComboBox>(this, 510, QStringLiteral("默认内容"), {580, 334, 190, 24},
                                           QStringLiteral("value"));
    value->setEditable(true);
    for (const auto &entry : inputStyles())
        style->addItem(entry.second);
    for (const auto &entry : dataTypes())
        type->addItem(entry.second);

    const auto button = [this](const char *objectName, const QString &text, int x, int y) {
        return placeButton(this, {x, y, 110, 28}, QString::fromLatin1(objectName), text);
    };
    QPushButton *addButton = button("addButton", QStringLiteral("添加"), 10, 372);
    QPushButton *updateButton = button("updateButton", QStringLiteral("更新"), 130, 372);
    QPushButton *exportStructure = button("exportStructureButton", QStringLiteral("导出表结构"), 250, 372);
    QPushButton *importStructure = button("importStructureButton", QStringLiteral("导入表结构"), 370, 372);
    QPushButton *check = button("checkButton", QStringLiteral("表结构校验"), 490, 372);
    QPushButton *manager = button("managerButton", QStringLiteral("车型管理"), 10, 408);
    QPushButton *exportData = button("exportDataButton", QStringLiteral("导出车型数据"), 130, 408);
    QPushButton *importData = button("importDataButton", QStringLiteral("导入车型数据"), 250, 408);
    QPushButton *quit = button("quitButton", QStringLiteral("退出"), 660, 408);
    auto *progress = placeControl<QProgressBar>(this, {10, 448, 760, 14}, QStringLiteral("progress"));
    auto *status = placeControl<QLabel>(this, {10, 468, 760, 22}, QStringLiteral("status"));
    showStatus(m_editor.status(), status, nullptr, progress);

    connect(table, &QComboBox::activated, &m_editor, &VehicleDesignEditor::chooseTable);
    connect(link, &QComboBox::textActivated, this, [this, value](const QString &entry) {
        m_editor.chooseLink(entry);
        value->clear();
        value->addItems(m_editor.values());
    });
    connect(list, &QAbstractItemView::clicked, this, [=, this](const QModelIndex &index) {
        const FieldDefinition field = m_editor.rowDefinition(index.row());
        name->setText(field.name);
        caption->setText(field.caption);
        style->setCurrentText(field.style);
        type->setCurrentText(field.type);
        link->setCurrentText(m_editor.linkEntry(field.link));
        value->setCurrentText(field.defaultValue);
    });
    connect(addButton, &QPushButton::clicked, this, [=, this] {
        m_editor.add({name->text(), caption->text(), style->currentText(), type->currentText(), QString(),
                      value->currentText()},
                     link->currentText());
    });
    connect(updateButton, &QPushButton::clicked, &m_editor, &VehicleDesignEditor::store);
    connect(list, &QAbstractItemView::doubleClicked, this, [this, list] { m_editor.deleteField(list->selectedRow()); });
    connect(check, &QPushButton::clicked, &m_editor, &VehicleDesignEditor::checkStructure);
    connect(exportStructure, &QPushButton::clicked, &m_editor, &VehicleDesignEditor::exportStructure);
    connect(importStructure, &QPushButton::clicked, &m_editor, &VehicleDesignEditor::importStructure);
    connect(exportData, &QPushButton::clicked, &m_editor.transfer(), &VehicleDataTransfer::exportData);
    connect(importData, &QPushButton::clicked, &m_editor.transfer(), &VehicleDataTransfer::importData);
    connect(manager, &QPushButton::clicked, this, [this] {
        if (m_editor.showManager(screenArea()))
            m_managerTimer.start(kManagerPollMs);
    });
    connect(&m_managerTimer, &QTimer::timeout, this, [this] {
        if (m_editor.managerDone())
            m_managerTimer.stop();
    });
    connect(quit, &QPushButton::clicked, this, &VehicleDesignDialog::reject);
    const QList<QWidget *> greyed{exportData, importData,      manager,         updateButton,
                                  check,      exportStructure, importStructure, table};
    connect(&m_editor.transfer(), &VehicleDataTransfer::runningChanged, this, [greyed](bool running) {
        for (QWidget *widget : greyed)
            widget->setEnabled(!running);
    });

    m_editor.setColumns(list->width() - 2 * list->frameWidth());
    list->setModel(&m_editor.list());
    m_editor.load();
    link->addItems(m_editor.links());
    m_editor.openLibrary(hostEntryPath(hostEntry::VehicleTypeLibrary), this, screenArea());
    attachLayout();
}

QRect VehicleDesignDialog::screenArea() const
{
    return QRect(mapToGlobal(QPoint(0, 0)), size());
}

void VehicleDesignDialog::reject()
{
    m_managerTimer.stop();
    if (m_editor.close())
        ScreenDialog::reject();
}

}  // namespace dbkeel
