#pragma once

namespace dbkeel {

// The menu commands of the statistics table, the vehicle-type design and data, and the output
// field matching.
void registerStatsScreens();

}  // namespace dbkeel
