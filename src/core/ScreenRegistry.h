#pragma once
// The main menu's commands that other modules provide. A command without a registered
// action stays greyed in the menu.

#include <functional>

class QWidget;

namespace dbkeel {

using ScreenAction = std::function<void(QWidget *mainWindow)>;

// Registers (or replaces) the action of a menu command; user-interface thread only.
void registerCommand(int commandId, ScreenAction action);
ScreenAction registeredCommand(int commandId);  // empty when none
void unregisterCommand(int commandId);

}  // namespace dbkeel
