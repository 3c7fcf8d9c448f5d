#pragma once
// The data maintenance and SQL tool screens on the main menu.

namespace dbkeel {

// Registers clearing, item-parameter check, plate correction, debug query, statement workspace,
// system log and version screens.
void registerMaintenanceScreens();

}  // namespace dbkeel
