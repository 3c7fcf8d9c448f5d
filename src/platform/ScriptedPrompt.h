#pragma once
// A prompt for tests: records every call and answers from a queue, in order.
// A call with no answer queued, or whose next answer is for another kind of call,
// throws ScriptedPromptError at once; it never blocks.

#include "platform/Prompt.h"

#include <QString>

#include <deque>
#include <functional>
#include <stdexcept>
#include <vector>

namespace dbkeel {

class ScriptedPromptError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

struct PromptCall {
    enum Kind { Message, File, Folder, Modal };
    Kind kind = Message;
    QString caption;  // message caption, dialog title, or the nested dialog's window title
    QString text;     // message text, initial path or folder, or the nested dialog's object name
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    PromptButton defaultButton = PromptButton::Ok;
    FileRequest file;  // the whole request of a file dialog
};

class ScriptedPrompt : public Prompt {
public:
    using DialogScript = std::function<void(QDialog &)>;

    // The current prompt while it lives; the one before comes back when it goes.
    ScriptedPrompt();
    ~ScriptedPrompt() override;
    ScriptedPrompt(const ScriptedPrompt &) = delete;
    ScriptedPrompt &operator=(const ScriptedPrompt &) = delete;

    // The next message box is answered with `button` (it must be one the box shows).
    ScriptedPrompt &answer(PromptButton button);
    // The next file dialog or folder browser gives `path`; an empty path is a cancel.
    ScriptedPrompt &answerFile(const QString &path);
    ScriptedPrompt &answerFolder(const QString &path);
    // The next nested dialog is shown and `script` runs on it; the script must close it
    // (accept(), reject() or done()), and its result is what runModal returns.
    ScriptedPrompt &answerModal(DialogScript script);

    const std::vector<PromptCall> &calls() const { return m_calls; }
    const PromptCall &lastCall() const;
    int pendingAnswers() const { return int(m_answers.size()); }

    PromptButton message(const QString &caption, const QString &text, PromptIcon icon, PromptButtons buttons,
                         PromptButton defaultButton) override;
    QString chooseFile(const FileRequest &request) override;
    QString chooseFolder(const QString &title, const QString &initialFolder) override;
    int runModal(QDialog &dialog) override;

private:
    struct Answer {
        PromptCall::Kind kind;
        PromptButton button = PromptButton::Ok;
        QString path;
        DialogScript script;
    };
    Answer take(const PromptCall &call);

    std::vector<PromptCall> m_calls;
    std::deque<Answer> m_answers;
    Prompt *m_previous = nullptr;
};

}  // namespace dbkeel
