#include "DictionaryScreens.h"

#include "DictionaryScreen.h"
#include "ScreenRegistry.h"
#include "SetInfoSubid.h"
#include "SetLineInfo.h"
#include "SetOutlineItemInfo.h"
#include "ShowVehInfo.h"

namespace dbkeel {

void registerDictionaryScreens()
{
    for (const DictionaryVariant *variant : {&deviceDictionary(), &itemDictionary(), &parameterDictionary()})
        registerCommand(variant->commandId, opensModal<DictionaryScreen>(std::cref(*variant)));
    registerCommand(command::LineTypes, opensModal<SetLineInfo>());
    registerCommand(command::BasicInformation, opensModal<ShowVehInfo>());
    registerCommand(command::OutlineItems, opensModal<SetOutlineItemInfo>());
    registerCommand(command::InfoSubIds, opensModal<SetInfoSubid>());
}

}  // namespace dbkeel
