#include "stats/StatTableDialog.h"

#include "screens/ScreenControls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace dbkeel {

StatTableDialog::StatTableDialog(QWidget *parent, const QString &libraryPath)
    : ScreenDialog(parent, QSize(780, 500), QStringLiteral("建立统计表"))
{
    setObjectName(QStringLiteral("StatTableDialog"));
    auto *tables = placeLabelled<QComboBox>(this, 10, QStringLiteral("数据表:"), {70, 10, 220, 24},
                                            QStringLiteral("sourceTable"));
    auto *source = placeControl<ReportListView>(this, {10, 42, 340, 330}, QStringLiteral("sourceList"));
    source->setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    source->setListTextColor(listcolor::Blue);
    source->setListBackgroundColor(listcolor::PaleGreen);
    placeLabel(this, {460, 14, 300, 20}, QStringLiteral("需建立字段(双击可删除)"));
    auto *fields = placeControl<ReportListView>(this, {460, 42, 310, 330}, QStringLiteral("fieldList"));
    fields->setExtendedStyle(ReportListView::GridFullRowStyle);

    struct Action {
        const char *name;
        QString text;
        void (StatTableEditor::*command)();
    };
    const Action middle[] = {
        {"addOneButton", QStringLiteral("(添加单个) >"), &StatTableEditor::addChecked},
        {"addAllButton", QStringLiteral("(添加全部) >>"), &StatTableEditor::addAll},
        {"removeAllButton", QStringLiteral("<< (删除全部)"), &StatTableEditor::removeAll},
    };
    int y = 80;
    for (const Action &action : middle) {
        connect(placeButton(this, {358, y, 94, 28}, QString::fromLatin1(action.name), action.text),
                &QPushButton::clicked, &m_editor, action.command);
        y += 40;
    }
    connect(placeButton(this, {358, 240, 94, 28}, QStringLiteral("invertButton"), QStringLiteral("反选")),
            &QPushButton::clicked, &m_editor.source(), &ReportListModel::invertChecks);
    connect(placeButton(this, {358, 280, 94, 28}, QStringLiteral("checkAllButton"), QStringLiteral("全选")),
            &QPushButton::clicked, &m_editor.source(), [this] { m_editor.source().setAllChecked(true); });

    auto *attribute = placeLabelled<QComboBox>(this, 10, QStringLiteral("字段属性:"), {80, 384, 130, 24},
                                               QStringLiteral("attribute"));
    auto *type = placeLabelled<QComboBox>(this, 230, QStringLiteral("字段类型:"), {300, 384, 150, 24},
                                          QStringLiteral("fieldType"));
    auto *length = placeLabelled<QLineEdit>(this, 470, QStringLiteral("字段长度:"), {540, 384, 80, 24},
                                            QStringLiteral("fieldLength"));
    for (const auto &entry : statTypes())
        type->addItem(entry.first);
    type->setCurrentText(m_editor.type());
    length->setText(m_editor.length());

    const Action bottom[] = {
        {"createButton", QStringLiteral("建立"), &StatTableEditor::create},
        {"dropButton", QStringLiteral("删除重建"), &StatTableEditor::dropTable},
        {"buildButton", QStringLiteral("建立统计数据"), &StatTableEditor::buildStatistics},
        {"exportButton", QStringLiteral("导出统计表"), &StatTableEditor::exportScript},
        {"importButton", QStringLiteral("导入统计表"), &StatTableEditor::importScript},
    };
    QList<QPushButton *> greyedWhileBusy;
    int x = 10;
    for (const Action &action : bottom) {
        QPushButton *button = placeButton(this, {x, 422, 100, 30}, QString::fromLatin1(action.name), action.text);
        connect(button, &QPushButton::clicked, &m_editor, action.command);
        if (action.command == &StatTableEditor::create || action.command == &StatTableEditor::dropTable
            || action.command == &StatTableEditor::buildStatistics)
            greyedWhileBusy << button;
        x += 110;
    }
    QPushButton *cancel = placeButton(this, {690, 422, 80, 30}, QStringLiteral("cancelButton"), QStringLiteral("取消"));
    greyedWhileBusy << cancel;
    auto *status = placeControl<QLabel>(this, {10, 464, 760, 22}, QStringLiteral("status"));
    showStatus(m_editor.status(), status, nullptr, nullptr);

    connect(tables, &QComboBox::textActivated, &m_editor, &StatTableEditor::chooseSourceTable);
    connect(attribute, &QComboBox::currentTextChanged, &m_editor, &StatTableEditor::setAttribute);
    connect(&m_editor, &StatTableEditor::attributesChanged, attribute, [attribute](const QStringList &names) {
        attribute->clear();
        attribute->addItems(names);
    });
    connect(type, &QComboBox::textActivated, &m_editor, &StatTableEditor::chooseType);
    connect(&m_editor, &StatTableEditor::lengthChanged, length, &QLineEdit::setText);
    connect(length, &QLineEdit::textEdited, &m_editor, &StatTableEditor::setLength);
    connect(fields, &QAbstractItemView::doubleClicked, &m_editor,
            [this, fields] { m_editor.removeField(fields->selectedRow()); });
    connect(&m_editor, &StatTableEditor::busy, this, [greyedWhileBusy](bool running) {
        for (QPushButton *button : greyedWhileBusy)
            button->setEnabled(!running);
    });
    connect(cancel, &QPushButton::clicked, this, &StatTableDialog::reject);

    m_editor.setColumns(source->width() - 2 * source->frameWidth());
    source->setModel(&m_editor.source());
    fields->setModel(&m_editor.fields());
    m_editor.load(libraryPath);
    tables->addItems(m_editor.sourceTables());
    tables->setCurrentIndex(-1);
    attachLayout();
}

void StatTableDialog::reject()
{
    if (m_editor.close())
        ScreenDialog::reject();
}

}  // namespace dbkeel
