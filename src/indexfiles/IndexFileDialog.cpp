#include "indexfiles/IndexFileDialog.h"

#include "screens/ScreenControls.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace dbkeel {

IndexFileDialog::IndexFileDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(420, 250), QStringLiteral("系统必须索引文件建立"))
{
    setObjectName(QStringLiteral("IndexFileDialog"));
    m_editor.setParent(this);  // its job runner among the screen's children: no closing while it builds
    auto *about = placeControl<QPlainTextEdit>(this, {12, 12, 396, 96}, QStringLiteral("about"));
    about->setReadOnly(true);
    about->setPlainText(
        QStringLiteral(
            "\r\n该模块可创建检测系统所必须的参数文件和subid对应关系等\r\n例如:转义主ID对应关系,参数中文对应关系,等等")
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    auto *status = placeControl<QLabel>(this, {12, 120, 396, 20}, QStringLiteral("status"));
    auto *progress = placeControl<QProgressBar>(this, {12, 146, 396, 18}, QStringLiteral("progress"));
    showStatus(m_editor.status(), status, nullptr, progress);
    QPushButton *create = placeButton(this, {214, 196, 90, 30}, QStringLiteral("createButton"), QStringLiteral("创建"),
                                      QStringLiteral("建立文件"));
    QPushButton *exit = placeButton(this, {318, 196, 90, 30}, QStringLiteral("exitButton"), QStringLiteral("退出"),
                                    QStringLiteral("退出系统"));

    connect(create, &QPushButton::clicked, &m_editor, &IndexFileEditor::create);
    connect(exit, &QPushButton::clicked, this, &IndexFileDialog::reject);
    connect(&m_editor, &IndexFileEditor::buildRunning, this, [create, exit](bool running) {
        create->setEnabled(!running);
        exit->setEnabled(!running);
    });
    attachLayout();
}

}  // namespace dbkeel
