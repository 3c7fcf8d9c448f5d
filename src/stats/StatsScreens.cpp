#include "stats/StatsScreens.h"

#include "screens/ScreenRegistry.h"
#include "stats/OutputFieldDialog.h"
#include "stats/StatTableDialog.h"
#include "stats/VehicleDataDialog.h"
#include "stats/VehicleDesignDialog.h"

namespace dbkeel {

void registerStatsScreens()
{
    registerCommand(command::StatisticsTable, opensModal<StatTableDialog>());
    registerCommand(command::VehicleTypeDesign, opensModal<VehicleDesignDialog>());
    registerCommand(command::VehicleTypeTransfer, opensModal<VehicleDataDialog>());
    registerCommand(command::OutputFieldMatching, opensModal<OutputFieldDialog>());
}

}  // namespace dbkeel
