#pragma once

namespace dbkeel {

// The console's menu commands: 32797, the host library update.
void registerConsoleScreens();

}  // namespace dbkeel
