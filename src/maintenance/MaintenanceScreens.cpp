#include "MaintenanceScreens.h"

#include "VersionDialog.h"
#include "DebugQueryDialog.h"
#include "PlateCorrectionDialog.h"
#include "SqlWorkspaceDialog.h"
#include "ScreenRegistry.h"
#include "SystemLogDialog.h"
#include "ItemParamCheckDialog.h"
#include "ClearingDialog.h"

namespace dbkeel {

void registerMaintenanceScreens()
{
    registerCommand(command::ClearTemporaryData, opensModal<ClearingDialog>());
    registerCommand(command::CheckItemParameters, opensModal<ItemParamCheckDialog>());
    registerCommand(command::PlateCorrection, opensModal<PlateCorrectionDialog>());
    registerCommand(command::DebugQuery, opensModal<DebugQueryDialog>());
    registerCommand(command::SqlWorkspace, opensModal<SqlWorkspaceDialog>());
    registerCommand(command::SystemLog, opensModal<SystemLogDialog>());
    registerCommand(command::DatabaseVersions, opensModal<VersionDialog>());
}

}  // namespace dbkeel
