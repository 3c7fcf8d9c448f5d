#include "dictionaries/DictionaryRowDialog.h"

#include "platform/Prompt.h"
#include "screens/ScreenControls.h"
#include "widgets/GbkTextLimit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace dbkeel {

namespace {

// The record's widths count GBK bytes; so do the boxes, so what they show is what is stored.
QLineEdit *placeEdit(QWidget *screen, const QRect &geometry, const QString &objectName)
{
    auto *edit = placeControl<QLineEdit>(screen, geometry, objectName);
    limitGbkBytes(edit, DictionaryRowRecord::kTextBytes);
    return edit;
}

}  // namespace

DictionaryRowDialog::DictionaryRowDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(380, 300), QStringLiteral("信息(插入、修改、删除)"))
{
    setObjectName(QStringLiteral("DictionaryRowDialog"));
    placeLabel(this, {16, 18, 70, 20}, QStringLiteral("名称:"));
    m_name = placeEdit(this, {90, 16, 270, 22}, QStringLiteral("name"));
    placeLabel(this, {16, 48, 70, 20}, QStringLiteral("代号:"));
    m_code = placeEdit(this, {90, 46, 100, 22}, QStringLiteral("code"));
    placeLabel(this, {200, 48, 50, 20}, QStringLiteral("代码:"));
    m_key = placeEdit(this, {250, 46, 110, 22}, QStringLiteral("key"));
    placeLabel(this, {16, 78, 70, 20}, QStringLiteral("说明:"));
    m_state = placeControl<QComboBox>(this, {90, 76, 270, 22}, QStringLiteral("state"));
    m_state->setEditable(true);
    m_state->addItems({QStringLiteral("无效"), QStringLiteral("使用"), QStringLiteral("恢复")});
    limitGbkBytes(m_state->lineEdit(), DictionaryRowRecord::kTextBytes);
    placeLabel(this, {16, 108, 70, 20}, QStringLiteral("注释:"));
    m_remark = placeControl<QPlainTextEdit>(this, {90, 106, 270, 60}, QStringLiteral("remark"));
    limitGbkBytes(m_remark, DictionaryRowRecord::kRemarkBytes);
    placeLabel(this, {16, 178, 70, 20}, QStringLiteral("插入日期:"));
    m_time = placeEdit(this, {90, 176, 270, 22}, QStringLiteral("time"));
    m_time->setReadOnly(true);

    placeLabel(this, {16, 216, 70, 20}, QStringLiteral("操作:"));
    m_operations = new QButtonGroup(this);
    const struct {
        RowOperation operation;
        const char *name;
        const char *text;
        int x;
    } radios[] = {{RowOperation::Insert, "insert", "插入", 90},
                  {RowOperation::Modify, "modify", "修改", 170},
                  {RowOperation::Delete, "delete", "删除", 250}};
    for (const auto &r : radios) {
        auto *radio = placeControl<QRadioButton>(this, {r.x, 214, 70, 22}, QString::fromLatin1(r.name),
                                                 QString::fromUtf8(r.text));
        m_operations->addButton(radio, int(r.operation));
    }
    connect(m_operations, &QButtonGroup::idClicked, this, [this](int id) { choose(RowOperation(id)); });

    QPushButton *ok = placeButton(this, {190, 256, 80, 26}, QStringLiteral("okButton"), QStringLiteral("确定"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DictionaryRowDialog::accept);
    connect(placeButton(this, {280, 256, 80, 26}, QStringLiteral("cancelButton"), QStringLiteral("取消")),
            &QPushButton::clicked, this, &DictionaryRowDialog::reject);

    m_opened = dictionaryRowRecord();
    showRecord();
    attachLayout();
}

bool DictionaryRowDialog::edit(QWidget *parent)
{
    DictionaryRowDialog editor(parent);
    return prompt().runModal(editor) == QDialog::Accepted;
}

void DictionaryRowDialog::showRecord()
{
    m_name->setText(m_opened.name);
    m_code->setText(m_opened.code);
    m_key->setText(m_opened.key);
    m_state->setEditText(m_opened.state);
    m_remark->setPlainText(m_opened.remark);
    m_time->setText(m_opened.insertTime);
    for (QWidget *field : std::initializer_list<QWidget *>{m_name, m_code, m_key, m_state})
        field->setEnabled(false);
    m_remark->setReadOnly(true);
}

void DictionaryRowDialog::choose(RowOperation operation)
{
    const DictionaryRowFields fields = fieldsForOperation(operation, m_opened);
    for (QWidget *field : std::initializer_list<QWidget *>{m_name, m_code, m_key, m_state})
        field->setEnabled(fields.editable);
    m_remark->setReadOnly(!fields.editable);
    m_code->setText(fields.code);
    m_state->setEditText(fields.state);
    m_remark->setPlainText(fields.remark);
}

RowOperation DictionaryRowDialog::chosenOperation() const
{
    const int id = m_operations->checkedId();
    return id < 0 ? RowOperation::None : RowOperation(id);
}

void DictionaryRowDialog::accept()
{
    DictionaryRowRecord &record = dictionaryRowRecord();
    record.operation = chosenOperation();
    record.name = m_name->text();
    record.code = m_code->text();
    record.key = m_key->text();
    record.state = m_state->currentText();
    record.remark = m_remark->toPlainText();
    record.cutToWidths();
    ScreenDialog::accept();
}

}  // namespace dbkeel
