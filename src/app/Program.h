#pragma once
// The program put together: every module's menu screens registered, the main window created
// and the modules' parts of it attached (the console's controls, the tree's address change).

#include <memory>

namespace dbkeel {

class MainWindow;

// Registers the menu screens of every module (once per process).
void registerModuleScreens();
// The main window with the modules attached; it shows itself and starts up on its first tick.
std::unique_ptr<MainWindow> createProgramWindow();

}  // namespace dbkeel
