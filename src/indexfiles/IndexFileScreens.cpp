#include "indexfiles/IndexFileScreens.h"

#include "indexfiles/IndexFileDialog.h"
#include "screens/ScreenRegistry.h"

namespace dbkeel {

void registerIndexFileScreens()
{
    registerCommand(command::IndexFileBuild, opensModal<IndexFileDialog>());
}

}  // namespace dbkeel
