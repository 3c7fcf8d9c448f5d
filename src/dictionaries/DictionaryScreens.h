#pragma once
// The element dictionary screens on the main menu.

namespace dbkeel {

// Registers the menu commands 32772-32775, 32781 and 32784.
void registerDictionaryScreens();

}  // namespace dbkeel
