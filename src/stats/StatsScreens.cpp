#include "StatsScreens.h"

#include "ScreenRegistry.h"
#include "OutputFieldDialog.h"
#include "StatTableDialog.h"
#include "VehicleDesignDialog.h"
#include "VehicleDataDialog.h"

namespace dbkeel {

void registerStatsScreens()
{
    registerCommand(command::StatisticsTable, opensModal<StatTableDialog>());
    registerCommand(command::VehicleTypeDesign, opensModal<VehicleDesignDialog>());
    registerCommand(command::VehicleTypeTransfer, opensModal<VehicleDataDialog>());
    registerCommand(command::OutputFieldMatching, opensModal<OutputFieldDialog>());
}

}  // namespace dbkeel
