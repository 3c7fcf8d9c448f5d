#include "maintenance/SqlWorkspaceDialog.h"

#include "screens/ScreenControls.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace dbkeel {

SqlWorkspaceDialog::SqlWorkspaceDialog(QWidget *parent)
    : ScreenDialog(parent, QSize(700, 600), QStringLiteral("SQL语句执行")),
      m_editor(this)  // its runner keeps the screen open
{
    setObjectName(QStringLiteral("SqlWorkspaceDialog"));
    auto *statement = placeControl<QPlainTextEdit>(this, {10, 10, 580, 150}, QStringLiteral("statement"));
    auto *log = placeControl<QPlainTextEdit>(this, {10, 170, 580, 110}, QStringLiteral("log"));
    log->setReadOnly(true);
    auto *result = placeControl<ReportListView>(this, {10, 290, 680, 270}, QStringLiteral("result"));
    result->setExtendedStyle(ReportListView::GridFullRowStyle);
    result->setListTextColor(listcolor::Blue);
    result->setListBackgroundColor(listcolor::PaleGreen);
    auto *status = placeControl<QLabel>(this, {10, 568, 580, 22}, QStringLiteral("status"));

    QPushButton *execute = placeButton(this, {600, 10, 90, 28}, QStringLiteral("executeButton"),
                                       QStringLiteral("执行..."), QStringLiteral("执行"));
    QPushButton *stop = placeButton(this, {600, 46, 90, 28}, QStringLiteral("stopButton"), QStringLiteral("停止"),
                                    QStringLiteral("停止执行"));
    QPushButton *clear = placeButton(this, {600, 82, 90, 28}, QStringLiteral("clearButton"), QStringLiteral("清除"),
                                     QStringLiteral("清除"));
    QPushButton *cancel = placeButton(this, {600, 252, 90, 28}, QStringLiteral("cancelButton"), QStringLiteral("取消"),
                                      QStringLiteral("退出"));
    stop->setEnabled(false);
    showStatus(m_editor.status(), status, nullptr, nullptr);

    connect(execute, &QPushButton::clicked, this, [this, statement] { m_editor.execute(statement->toPlainText()); });
    connect(stop, &QPushButton::clicked, &m_editor, &SqlWorkspaceEditor::stop);
    connect(clear, &QPushButton::clicked, this, [this, statement] {
        statement->clear();
        m_editor.clearLog();
    });
    connect(cancel, &QPushButton::clicked, this, &SqlWorkspaceDialog::reject);
    connect(&m_editor, &SqlWorkspaceEditor::logChanged, log, [log](const QString &text) {
        log->setPlainText(text);
        log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
    });
    connect(&m_editor, &SqlWorkspaceEditor::running, this, [execute, stop](bool running) {
        execute->setEnabled(!running);
        stop->setEnabled(running);
    });

    result->setModel(&m_editor.result());
    attachLayout();
}

}  // namespace dbkeel
