#include "StatsScreens.h"

#include "ScreenRegistry.h"
#include "SetOutPutFieldDlg.h"
#include "TabCreateStat.h"
#include "VehicleSJDlg.h"
#include "VehicleTypeDlg.h"

namespace dbkeel {

void registerStatsScreens()
{
    registerCommand(command::StatisticsTable, opensModal<TabCreateStat>());
    registerCommand(command::VehicleTypeDesign, opensModal<VehicleSJDlg>());
    registerCommand(command::VehicleTypeTransfer, opensModal<VehicleTypeDlg>());
    registerCommand(command::OutputFieldMatching, opensModal<SetOutPutFieldDlg>());
}

}  // namespace dbkeel
