#pragma once
// The main menu's commands that screen modules provide, by the ids of CommandIds.h. A command
// without a registered action stays greyed in the menu.

#include "platform/Prompt.h"
#include "screens/CommandIds.h"
#include "screens/ScreenHost.h"

#include <functional>

namespace dbkeel {

using ScreenAction = std::function<void(ScreenHost &host)>;

// Registers (or replaces) the action of a menu command; user-interface thread only.
void registerCommand(int commandId, ScreenAction action);
ScreenAction registeredCommand(int commandId);  // empty when none
void unregisterCommand(int commandId);

// The action that opens a screen of type Screen, made from `args` and the host's window, modally.
template <typename Screen, typename... Args>
ScreenAction opensModal(const Args &...args)
{
    return [=](ScreenHost &host) {
        Screen screen(args..., host.owner());
        prompt().runModal(screen);
    };
}

}  // namespace dbkeel
