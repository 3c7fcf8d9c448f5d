#include "platform/ScriptedPrompt.h"

#include <QDialog>

namespace dbkeel {
namespace {

const char *kindName(PromptCall::Kind kind)
{
    switch (kind) {
    case PromptCall::Message: return "message box";
    case PromptCall::File: return "file dialog";
    case PromptCall::Folder: return "folder browser";
    case PromptCall::Modal: return "nested dialog";
    }
    return "call";
}

std::string describe(const PromptCall &call)
{
    return std::string(kindName(call.kind)) + " \"" + call.caption.toStdString() + "\": \"" + call.text.toStdString()
           + "\"";
}

}  // namespace

ScriptedPrompt::ScriptedPrompt() : m_previous(setPrompt(this)) {}

ScriptedPrompt::~ScriptedPrompt()
{
    setPrompt(m_previous);
}

ScriptedPrompt &ScriptedPrompt::answer(PromptButton button)
{
    m_answers.push_back({PromptCall::Message, button, {}, {}});
    return *this;
}

ScriptedPrompt &ScriptedPrompt::answerFile(const QString &path)
{
    m_answers.push_back({PromptCall::File, PromptButton::Ok, path, {}});
    return *this;
}

ScriptedPrompt &ScriptedPrompt::answerFolder(const QString &path)
{
    m_answers.push_back({PromptCall::Folder, PromptButton::Ok, path, {}});
    return *this;
}

ScriptedPrompt &ScriptedPrompt::answerModal(DialogScript script)
{
    m_answers.push_back({PromptCall::Modal, PromptButton::Ok, {}, std::move(script)});
    return *this;
}

const PromptCall &ScriptedPrompt::lastCall() const
{
    if (m_calls.empty())
        throw ScriptedPromptError("ScriptedPrompt: no call was made");
    return m_calls.back();
}

ScriptedPrompt::Answer ScriptedPrompt::take(const PromptCall &call)
{
    m_calls.push_back(call);
    if (m_answers.empty())
        throw ScriptedPromptError("ScriptedPrompt: no answer queued for the " + describe(call));
    if (m_answers.front().kind != call.kind)
        throw ScriptedPromptError("ScriptedPrompt: the next answer is for a "
                                  + std::string(kindName(m_answers.front().kind)) + ", not for the " + describe(call));
    Answer next = std::move(m_answers.front());
    m_answers.pop_front();
    return next;
}

PromptButton ScriptedPrompt::message(const QString &caption, const QString &text, PromptIcon icon,
                                     PromptButtons buttons, PromptButton defaultButton)
{
    PromptCall call;
    call.kind = PromptCall::Message;
    call.caption = caption;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    call.defaultButton = defaultButton;
    const Answer next = take(call);
    if (!buttonsOf(buttons).contains(next.button))
        throw ScriptedPromptError("ScriptedPrompt: the queued button is not shown by the " + describe(call));
    return next.button;
}

QString ScriptedPrompt::chooseFile(const FileRequest &request)
{
    PromptCall call;
    call.kind = PromptCall::File;
    call.caption = request.title;
    call.text = request.initialPath;
    call.file = request;
    return take(call).path;
}

QString ScriptedPrompt::chooseFolder(const QString &title, const QString &initialFolder)
{
    PromptCall call;
    call.kind = PromptCall::Folder;
    call.caption = title;
    call.text = initialFolder;
    return take(call).path;
}

int ScriptedPrompt::runModal(QDialog &dialog)
{
    PromptCall call;
    call.kind = PromptCall::Modal;
    call.caption = dialog.windowTitle();
    call.text = dialog.objectName();
    const Answer next = take(call);
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    next.script(dialog);
    if (dialog.isVisible()) {
        dialog.hide();
        throw ScriptedPromptError("ScriptedPrompt: the script left the " + describe(call) + " open");
    }
    return dialog.result();
}

}  // namespace dbkeel
