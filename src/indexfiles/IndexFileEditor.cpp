#include "indexfiles/IndexFileEditor.h"

#include "core/Database.h"

namespace dbkeel {

namespace {

bool confirmed(const QString &question)
{
    return prompt().message(QStringLiteral("提示"), question, PromptIcon::Question, PromptButtons::OkCancel,
                            PromptButton::Cancel)
           == PromptButton::Ok;
}

QString keptFilesMessage(const QStringList &failedParts)
{
    return QStringLiteral("以下部分创建失败: %1\n原有的系统索引文件和用户文件没有被替换(新文件留在临时文件中以便检查)")
        .arg(failedParts.join(QStringLiteral(", ")));
}

}  // namespace

IndexFileEditor::IndexFileEditor(QObject *parent) : QObject(parent), m_runner(this)
{
    m_status.setProgressRange(0, kProgressMaximum);
    connect(&m_runner, &JobRunner::progressChanged, &m_status, &ScreenStatus::setProgress);
    connect(&m_runner, &JobRunner::statusChanged, &m_status, &ScreenStatus::setLeft);
    connect(&m_runner, &JobRunner::finished, this, [this](bool, const QString &jobError) { buildEnded(jobError); });
}

bool IndexFileEditor::create()
{
    if (m_runner.isRunning() || !confirmed(QStringLiteral("确定要创建系统索引文件吗?确定(建立),取消")))
        return false;
    if (m_built && !confirmed(QStringLiteral("索引文件已经建立过是否要重新建立?确定(建立),取消")))
        return false;
    m_built = true;
    m_result = {};
    m_status.setProgress(0);
    emit buildRunning(true);
    const IndexFileTargets targets = IndexFileTargets::fromHostConfig();
    const QString connect = connectString();
    m_runner.start(
        [this, targets, connect](JobContext &job) {
            IndexBuildCallbacks callbacks;
            callbacks.partStarting = [&job](int number, const QString &text) {
                job.setProgress(number);
                job.setStatus(text);
            };
            callbacks.partFinished = [this](const PartOutcome &outcome) {
                QMetaObject::invokeMethod(
                    this, [this, outcome] { partFinished(outcome); }, Qt::QueuedConnection);
            };
            m_result = buildIndexFiles(targets, connect, callbacks);
            job.setProgress(0);
            job.setStatus(QStringLiteral("创建文件结束"));
        },
        QString());  // every part opens its own connection
    return true;
}

void IndexFileEditor::partFinished(const PartOutcome &outcome)
{
    if (!outcome.message.isEmpty())
        say(QStringLiteral("错误"), outcome.message);
}

void IndexFileEditor::buildEnded(const QString &jobError)
{
    emit buildRunning(false);
    const QStringList failed = m_result.failedParts();
    if (!jobError.isEmpty())
        say(QStringLiteral("错误"), jobError);
    else if (!m_result.startError.isEmpty())
        say(QStringLiteral("错误"), m_result.startError);
    else if (!m_result.fileError.isEmpty())  // before the parts: the new files are not there to point at
        say(QStringLiteral("错误"), m_result.fileError);
    else if (!failed.isEmpty())
        say(QStringLiteral("提示"), keptFilesMessage(failed));
    for (const PartOutcome &part : m_result.parts)
        if (!part.remark.isEmpty())
            say(QStringLiteral("提示"), part.remark);
}

void IndexFileEditor::say(const QString &caption, const QString &text)
{
    m_messages.emplace_back(caption, text);
    if (m_saying)
        return;  // the box that is open now shows this one after it
    m_saying = true;
    while (!m_messages.empty()) {
        const auto [nextCaption, nextText] = m_messages.front();
        m_messages.pop_front();
        prompt().message(nextCaption, nextText, PromptIcon::Exclamation);
    }
    m_saying = false;
}

}  // namespace dbkeel
