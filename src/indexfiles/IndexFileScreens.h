#pragma once
// The index file screen on the main menu.

namespace dbkeel {

// Registers IndexFileDialog for "建立参数关系文件(&C)".
void registerIndexFileScreens();

}  // namespace dbkeel
