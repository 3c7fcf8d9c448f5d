#include "platform/Prompt.h"

#include "platform/QtPrompt.h"

#include <QList>

namespace dbkeel {
namespace {

Prompt *currentPrompt = nullptr;

}  // namespace

Prompt &prompt()
{
    if (currentPrompt)
        return *currentPrompt;
    static QtPrompt qtPrompt;
    return qtPrompt;
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

}  // namespace dbkeel
