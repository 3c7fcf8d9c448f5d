#include "dictionaries/DictionaryScreens.h"

#include "dictionaries/BasicInfoDialog.h"
#include "dictionaries/DictionaryDialog.h"
#include "dictionaries/LineTypeDialog.h"
#include "dictionaries/OutlineItemDialog.h"
#include "dictionaries/SubIdDialog.h"
#include "screens/ScreenRegistry.h"

namespace dbkeel {

void registerDictionaryScreens()
{
    for (const DictionaryVariant *variant : {&deviceDictionary(), &itemDictionary(), &parameterDictionary()})
        registerCommand(variant->commandId, opensModal<DictionaryDialog>(std::cref(*variant)));
    registerCommand(command::LineTypes, opensModal<LineTypeDialog>());
    registerCommand(command::BasicInformation, opensModal<BasicInfoDialog>());
    registerCommand(command::OutlineItems, opensModal<OutlineItemDialog>());
    registerCommand(command::InfoSubIds, opensModal<SubIdDialog>());
}

}  // namespace dbkeel
