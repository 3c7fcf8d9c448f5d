#include "ConsoleScreens.h"

#include "HostLibraryUpdate.h"
#include "ScreenRegistry.h"

namespace dbkeel {

void registerConsoleScreens()
{
    registerCommand(32797, [](QWidget *) { replaceHostLibrary(); });
}

}  // namespace dbkeel
