#include "DictionaryScreens.h"

#include "DictionaryDialog.h"
#include "ScreenRegistry.h"
#include "SubIdDialog.h"
#include "LineTypeDialog.h"
#include "OutlineItemDialog.h"
#include "BasicInfoDialog.h"

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
