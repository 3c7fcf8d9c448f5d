#include "IndexFileScreens.h"

#include "FileCreateDlg.h"
#include "ScreenRegistry.h"

namespace dbkeel {

void registerIndexFileScreens() { registerCommand(command::IndexFileBuild, opensModal<FileCreateDlg>()); }

}  // namespace dbkeel
