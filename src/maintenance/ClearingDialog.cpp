#include "maintenance/ClearingDialog.h"

#include "screens/ScreenControls.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace dbkeel {

ClearingDialog::ClearingDialog(QWidget *parent) : ScreenDialog(parent, QSize(420, 170), QStringLiteral("清除临时数据"))
{
    setObjectName(QStringLiteral("ClearingDialog"));
    auto *progressLine = placeControl<QLabel>(this, {20, 24, 380, 56}, QStringLiteral("progressLine"));
    progressLine->setAlignment(Qt::AlignCenter);
    progressLine->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont large = progressLine->font();
    large.setPointSize(large.pointSize() + 4);
    progressLine->setFont(large);
    auto *record = placeControl<QPlainTextEdit>(this, {20, 24, 380, 56}, QStringLiteral("statusRecord"));
    record->setReadOnly(true);
    record->hide();

    QPushButton *run = placeButton(this, {210, 120, 90, 28}, QStringLiteral("runButton"), QStringLiteral("执行"),
                                   QStringLiteral("确定"));
    QPushButton *cancel = placeButton(this, {310, 120, 90, 28}, QStringLiteral("cancelButton"), QStringLiteral("取消"),
                                      QStringLiteral("取消"));

    showStatus(m_editor.status(), progressLine, nullptr, nullptr);
    connect(&m_editor.status(), &ScreenStatus::rightChanged, record, &QPlainTextEdit::setPlainText);
    connect(run, &QPushButton::clicked, &m_editor, &ClearingEditor::clear);
    connect(cancel, &QPushButton::clicked, this, &ClearingDialog::reject);
    attachLayout();
}

}  // namespace dbkeel
