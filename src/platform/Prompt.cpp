#include "platform/Prompt.h"

#include <QList>
#include <QtDebug>

namespace dbkeel {
namespace {

// What answers while no prompt is set (a program without windows).
class UnattendedPrompt : public Prompt {
public:
    PromptButton message(const QString &caption, const QString &text, PromptIcon, PromptButtons buttons,
                         PromptButton) override
    {
        qWarning().noquote() << caption + QStringLiteral(": ") + text;
        return closingAnswer(buttons);
    }
    QString chooseFile(const FileRequest &) override { return {}; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    int runModal(QDialog &) override { return 0; }  // QDialog::Rejected
};

Prompt *currentPrompt = nullptr;

}  // namespace

Prompt &prompt()
{
    if (currentPrompt)
        return *currentPrompt;
    static UnattendedPrompt unattended;
    return unattended;
}

Prompt *setPrompt(Prompt *current)
{
    Prompt *previous = currentPrompt;
    currentPrompt = current;
    return previous;
}

QList<PromptButton> buttonsOf(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok: return {PromptButton::Ok};
    case PromptButtons::OkCancel: return {PromptButton::Ok, PromptButton::Cancel};
    case PromptButtons::YesNo: return {PromptButton::Yes, PromptButton::No};
    case PromptButtons::YesNoCancel: return {PromptButton::Yes, PromptButton::No, PromptButton::Cancel};
    case PromptButtons::RetryCancel: return {PromptButton::Retry, PromptButton::Cancel};
    }
    return {PromptButton::Ok};
}

PromptButton closingAnswer(PromptButtons buttons)
{
    const QList<PromptButton> shown = buttonsOf(buttons);
    for (PromptButton b : {PromptButton::Cancel, PromptButton::No})
        if (shown.contains(b))
            return b;
    return shown.front();
}

}  // namespace dbkeel
