#include "ConsoleScreens.h"

#include "HostLibraryUpdate.h"
#include "ScreenRegistry.h"

namespace dbkeel {

void registerConsoleScreens()
{
    registerCommand(command::HostLibUpdate, [](ScreenHost &) { replaceHostLibrary(); });
}

}  // namespace dbkeel
