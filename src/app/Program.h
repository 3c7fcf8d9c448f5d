#pragma once
// The program put together: every module's menu screens registered, the main window created
// and the modules' parts of it attached (the console's controls, the tree's address change).

#include <QString>

#include <memory>

class QTranslator;

namespace dbkeel {

class MainWindow;

// Registers the menu screens of every module (once per process).
void registerModuleScreens();
// The main window with the modules attached; it shows itself and starts up on its first tick.
std::unique_ptr<MainWindow> createProgramWindow();

// Loads Qt's own texts in Chinese (its dialogs' buttons and titles; Debian's qt6-translations-l10n)
// into the application; the translator, owned by the application, or nullptr when they are missing.
QTranslator *installQtChineseTranslations();
// Why the labels would show as boxes, in English (no Chinese glyph needed): no installed font has
// Chinese characters. Empty when one has.
QString missingChineseFontNotice();

}  // namespace dbkeel
