#pragma once

namespace dbkeel {

// The console's menu commands: the host library update.
void registerConsoleScreens();

}  // namespace dbkeel
