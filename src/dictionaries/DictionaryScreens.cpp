#include "DictionaryScreens.h"

#include "DictionaryScreen.h"
#include "Prompt.h"
#include "ScreenRegistry.h"
#include "SetLineInfo.h"
#include "SetOutlineItemInfo.h"
#include "ShowVehInfo.h"

namespace dbkeel {

namespace {

// Opens a screen of type Screen, made from `args` and the main window, modally.
template <typename Screen, typename... Args>
ScreenAction opens(const Args &...args)
{
    return [=](QWidget *mainWindow) {
        Screen screen(args..., mainWindow);
        prompt().runModal(screen);
    };
}

}  // namespace

void registerDictionaryScreens()
{
    for (const DictionaryVariant *variant : {&deviceDictionary(), &itemDictionary(), &parameterDictionary()})
        registerCommand(variant->commandId, opens<DictionaryScreen>(std::cref(*variant)));
    registerCommand(32775, opens<SetLineInfo>());
    registerCommand(32781, opens<ShowVehInfo>());
    registerCommand(32784, opens<SetOutlineItemInfo>());
}

}  // namespace dbkeel
