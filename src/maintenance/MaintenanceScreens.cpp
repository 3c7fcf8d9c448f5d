#include "maintenance/MaintenanceScreens.h"

#include "maintenance/ClearingDialog.h"
#include "maintenance/DebugQueryDialog.h"
#include "maintenance/ItemParamCheckDialog.h"
#include "maintenance/PlateCorrectionDialog.h"
#include "maintenance/SqlWorkspaceDialog.h"
#include "maintenance/SystemLogDialog.h"
#include "maintenance/VersionDialog.h"
#include "screens/ScreenRegistry.h"

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
