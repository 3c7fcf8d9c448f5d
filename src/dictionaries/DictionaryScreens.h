#pragma once
// The element dictionary screens on the main menu.

namespace dbkeel {

// Registers the dictionary screens: devices, items, parameters, line types, basic information, outline items,
// basic-information sub-IDs.
void registerDictionaryScreens();

}  // namespace dbkeel
