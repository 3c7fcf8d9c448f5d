#include "CompositionScreens.h"

#include "Prompt.h"
#include "RelationScreen.h"
#include "ScreenRegistry.h"
#include "SpeedCreateBaseLine.h"
#include "StationSetInfo.h"

namespace dbkeel {

void registerCompositionScreens()
{
    for (const RelationVariant *variant : {&deviceItemRelation(), &itemParameterRelation()})
        registerCommand(variant->commandId, opensModal<RelationScreen>(std::cref(*variant)));
    registerCommand(command::QuickLineBuild, [](ScreenHost &host) {
        StationSetInfo screen(host.owner());
        if (prompt().runModal(screen) == QDialog::Accepted)
            host.reloadLineLayout();
    });
    registerCommand(command::ElementExchange, opensModal<SpeedCreateBaseLine>());
}

}  // namespace dbkeel
