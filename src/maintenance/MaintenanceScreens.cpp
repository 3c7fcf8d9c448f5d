#include "MaintenanceScreens.h"

#include "DbVersionManager.h"
#include "DebugSerchDLG.h"
#include "INFOERRCHECK.h"
#include "MySqlWorkSpance.h"
#include "ScreenRegistry.h"
#include "SysLogManage.h"
#include "heckDataBaseData.h"
#include "learDataPrMsg.h"

namespace dbkeel {

void registerMaintenanceScreens()
{
    registerCommand(command::ClearTemporaryData, opensModal<learDataPrMsg>());
    registerCommand(command::CheckItemParameters, opensModal<heckDataBaseData>());
    registerCommand(command::PlateCorrection, opensModal<INFOERRCHECK>());
    registerCommand(command::DebugQuery, opensModal<DebugSerchDLG>());
    registerCommand(command::SqlWorkspace, opensModal<MySqlWorkSpance>());
    registerCommand(command::SystemLog, opensModal<SysLogManage>());
    registerCommand(command::DatabaseVersions, opensModal<DbVersionManager>());
}

}  // namespace dbkeel
