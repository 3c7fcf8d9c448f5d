#include "composition/BundleEditor.h"

#include "core/SharedDb.h"
#include "platform/Prompt.h"
#include "screens/ExchangeFile.h"
#include "screens/HistoryNotice.h"

namespace dbkeel {

void ProcessLog::add(const QString &line, bool failure)
{
    const QString next = line + QStringLiteral("\r\n") + m_text;
    m_text = next.size() > kLimit ? line : next;
    if (failure)
        m_text = QStringLiteral("★ ") + line + QStringLiteral("\r\n") + m_text;
    emit textChanged(m_text);
}

BundleEditor::BundleEditor(QObject *parent) : QObject(parent)
{
    m_log.add(QStringLiteral("请确定进行建立关系!"));
}

void BundleEditor::exportCommand()
{
    if (!sharedDb().isOpen()) {
        m_log.add(QStringLiteral("导出失败"), true);
        return;
    }
    const QString folder = exchangeFolder(prompt().chooseFolder(QStringLiteral("Please select a folder:")));
    if (folder.isEmpty()) {
        m_log.add(QStringLiteral("取消导出"));
        return;
    }
    exportBundle(sharedDb(), exchangeFilePath(folder, kBundleName, kBundleExtension), m_log);
}

void BundleEditor::importCommand()
{
    const QString path = prompt().chooseFile(importFileRequest(kBundleExtension));
    if (path.isEmpty()) {
        m_log.add(QStringLiteral("取消导入"));
        return;
    }
    const HistoryInScreen history([this](const QString &line) { m_log.add(line); });
    importBundle(sharedDb(), path, m_log);
}

void BundleEditor::buildCommand()
{
    if (prompt().message(QStringLiteral("提示"),
                         QStringLiteral("是否重新创建全部,若创建将无法恢复以前的数据!!确定(继续),取消?"),
                         PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
        == PromptButton::Ok) {
        const HistoryInScreen history([this](const QString &line) { m_log.add(line); });
        buildRunTables(sharedDb(), m_log);
    }
}

}  // namespace dbkeel
