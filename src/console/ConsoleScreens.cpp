#include "console/ConsoleScreens.h"

#include "console/HostLibraryUpdate.h"
#include "screens/ScreenRegistry.h"

namespace dbkeel {

void registerConsoleScreens()
{
    registerCommand(command::HostLibUpdate, [](ScreenHost &) { replaceHostLibrary(); });
}

}  // namespace dbkeel
