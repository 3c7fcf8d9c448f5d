#pragma once
// The one way a screen talks to the user modally: message boxes, file and folder
// dialogs and nested dialogs. The program shows Qt dialogs (QtPrompt, installed by
// its main); tests answer from a script (ScriptedPrompt) and never block.

#include <QList>
#include <QString>

class QDialog;

namespace dbkeel {

enum class PromptIcon { None, Information, Question, Exclamation, Stop };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class PromptButton { Ok, Cancel, Yes, No, Retry };

struct FileRequest {
    enum Mode { Open, Save };
    QString title;
    // A file name, possibly with its folder ('/' or '\' separated); a name with a
    // wildcard ("*.TBIDDEV") only picks the folder, the filters do the rest.
    QString initialPath;
    // Windows pairs "描述|*.a;*.b|描述|*.*||", or Qt's "描述 (*.a *.b);;…".
    QString filter;
    QString defaultExtension;  // without the dot, added to a typed name without one
    Mode mode = Open;
};

class Prompt {
public:
    virtual ~Prompt() = default;
    // The button pressed; closing the box without one answers Cancel, else No, else OK.
    virtual PromptButton message(const QString &caption, const QString &text, PromptIcon icon = PromptIcon::None,
                                 PromptButtons buttons = PromptButtons::Ok,
                                 PromptButton defaultButton = PromptButton::Ok) = 0;
    // The chosen path, empty when cancelled.
    virtual QString chooseFile(const FileRequest &request) = 0;
    virtual QString chooseFolder(const QString &title, const QString &initialFolder = {}) = 0;
    // Runs `dialog` modally; its result (QDialog::Accepted, Rejected or the code given to done()).
    virtual int runModal(QDialog &dialog) = 0;
};

// The process-wide current prompt. With none set, nobody can answer: a message is logged
// as a warning and answered as a box closed without a button, a file or folder choice
// and a nested dialog are cancelled. Both are for the user-interface thread only.
Prompt &prompt();
// Makes `current` the current prompt (nullptr: none); returns the one before.
Prompt *setPrompt(Prompt *current);

// The buttons a set consists of, in the order they are shown.
QList<PromptButton> buttonsOf(PromptButtons buttons);
// The answer of a box closed without a button: Cancel, else No, else the first button.
PromptButton closingAnswer(PromptButtons buttons);

}  // namespace dbkeel
