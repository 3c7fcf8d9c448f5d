#include "composition/BundleDialog.h"

#include "screens/ScreenControls.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace dbkeel {

namespace {
constexpr QSize kDesignSize(560, 380);
}

BundleDialog::BundleDialog(QWidget *parent)
    : ScreenDialog(parent, kDesignSize, QStringLiteral("建线基本设备项目参数ID信息导入导出"))
{
    setObjectName(QStringLiteral("BundleDialog"));
    placeControl<QGroupBox>(this, {10, 6, 540, 318}, QStringLiteral("logFrame"), QStringLiteral("创建过程信息"));
    auto *log = placeControl<QPlainTextEdit>(this, {20, 28, 520, 286}, QStringLiteral("log"));
    log->setReadOnly(true);
    QPushButton *exportButton = placeButton(this, {20, 336, 90, 30}, QStringLiteral("export"),
                                            QStringLiteral("导出数据"), QStringLiteral("导出数据"));
    QPushButton *import = placeButton(this, {120, 336, 90, 30}, QStringLiteral("import"), QStringLiteral("导入数据"),
                                      QStringLiteral("导入数据"));
    QPushButton *build = placeButton(this, {350, 336, 90, 30}, QStringLiteral("build"), QStringLiteral("创建"),
                                     QStringLiteral("建立"));
    QPushButton *cancel = placeButton(this, {450, 336, 90, 30}, QStringLiteral("cancel"), QStringLiteral("取消"),
                                      QStringLiteral("退出系统"));

    log->setPlainText(m_editor.log().text());
    connect(&m_editor.log(), &ProcessLog::textChanged, log, [log](const QString &text) {
        log->setPlainText(text);
        log->repaint();
    });
    connect(exportButton, &QPushButton::clicked, &m_editor, &BundleEditor::exportCommand);
    connect(import, &QPushButton::clicked, &m_editor, &BundleEditor::importCommand);
    connect(build, &QPushButton::clicked, &m_editor, &BundleEditor::buildCommand);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    attachLayout();
}

}  // namespace dbkeel
