#include "maintenance/VersionDialog.h"

#include "screens/ScreenControls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace dbkeel {

VersionDialog::VersionDialog(QWidget *parent) : ScreenDialog(parent, QSize(640, 480), QStringLiteral("数据库版本管理"))
{
    setObjectName(QStringLiteral("VersionDialog"));
    placeControl<QGroupBox>(this, {10, 6, 620, 226}, QString(), QStringLiteral("版本信息及修改记录"));
    auto *list = placeControl<ReportListView>(this, {20, 26, 600, 196}, QStringLiteral("list"));
    list->setExtendedStyle(ReportListView::GridFullRowStyle);
    list->setListTextColor(listcolor::Blue);
    list->setListBackgroundColor(listcolor::PaleGreen);

    placeLabel(this, {10, 244, 150, 24}, QStringLiteral("修正版本(版本+日期):"));
    for (int part = 0; part < 4; ++part)
        m_parts << placeControl<QLineEdit>(this, {160 + part * 60, 244, 50, 24},
                                           QStringLiteral("versionPart%1").arg(part));
    m_changeTime = placeLabelled<QLineEdit>(this, 10, QStringLiteral("版本修改时间:"), {160, 276, 170, 24},
                                            QStringLiteral("changeTime"));
    placeLabel(this, {340, 276, 150, 24}, QStringLiteral("一般系统自动生成"));
    m_name = placeLabelled<QLineEdit>(this, 10, QStringLiteral("修改人姓名:"), {160, 308, 170, 24},
                                      QStringLiteral("name"));
    placeLabel(this, {340, 308, 150, 24}, QStringLiteral("请填写修改人姓名"));
    m_description = placeLabelled<QPlainTextEdit>(this, 10, QStringLiteral("修改内容描述:"), {160, 340, 470, 60},
                                                  QStringLiteral("description"));
    m_entryTime = placeLabelled<QLineEdit>(this, 10, QStringLiteral("内容修改时间:"), {160, 408, 170, 24},
                                           QStringLiteral("entryTime"));
    m_entryTime->setReadOnly(true);

    QPushButton *authorize = placeButton(this, {340, 440, 90, 28}, QStringLiteral("authorizeButton"),
                                         QStringLiteral("修改授权"), QStringLiteral("用户授权登录"));
    QPushButton *update = placeButton(this, {440, 440, 90, 28}, QStringLiteral("updateButton"), QStringLiteral("更新"),
                                      QStringLiteral("更新版本"));
    QPushButton *cancel = placeButton(this, {540, 440, 90, 28}, QStringLiteral("cancelButton"), QStringLiteral("取消"),
                                      QStringLiteral("退出系统"));

    QList<QWidget *> editable{m_changeTime, m_name, m_description};
    for (QLineEdit *part : m_parts)
        editable << part;
    for (QWidget *field : editable)
        field->setEnabled(false);
    m_entryTime->setEnabled(false);

    connect(&m_editor, &VersionEditor::fieldsChanged, this, &VersionDialog::showFields);
    connect(list, &QAbstractItemView::clicked, this, [this, list] {
        m_editor.setFields(typedFields());
        m_editor.chooseRow(list->selectedRow());
    });
    connect(authorize, &QPushButton::clicked, this, [editable] {
        for (QWidget *field : editable)
            field->setEnabled(true);
    });
    connect(update, &QPushButton::clicked, this, [this] {
        m_editor.setFields(typedFields());
        m_editor.update();
    });
    connect(cancel, &QPushButton::clicked, this, &VersionDialog::reject);

    m_editor.setColumns(list->width() - 2 * list->frameWidth());
    list->setModel(&m_editor.list());
    m_editor.preset(QDateTime::currentDateTime());
    QTimer::singleShot(1, this, [this] { m_editor.cleanUpAndLoad(); });
    attachLayout();
}

void VersionDialog::showFields()
{
    const VersionFields &fields = m_editor.fields();
    for (int part = 0; part < m_parts.size(); ++part)
        m_parts[part]->setText(fields.parts.value(part));
    m_changeTime->setText(fields.changeTime);
    m_name->setText(fields.name);
    m_description->setPlainText(fields.description);
    m_entryTime->setText(fields.entryTime);
}

VersionFields VersionDialog::typedFields() const
{
    VersionFields fields;
    for (QLineEdit *part : m_parts)
        fields.parts << part->text();
    fields.changeTime = m_changeTime->text();
    fields.name = m_name->text();
    fields.description = m_description->toPlainText();
    fields.entryTime = m_entryTime->text();
    return fields;
}

}  // namespace dbkeel
