#include "IndexFileScreens.h"

#include "IndexFileDialog.h"
#include "ScreenRegistry.h"

namespace dbkeel {

void registerIndexFileScreens() { registerCommand(command::IndexFileBuild, opensModal<IndexFileDialog>()); }

}  // namespace dbkeel
