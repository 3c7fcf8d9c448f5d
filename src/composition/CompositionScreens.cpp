#include "composition/CompositionScreens.h"

#include "composition/BundleDialog.h"
#include "composition/LineLayoutDialog.h"
#include "composition/RelationDialog.h"
#include "platform/Prompt.h"
#include "screens/ScreenRegistry.h"

namespace dbkeel {

void registerCompositionScreens()
{
    for (const RelationVariant *variant : {&deviceItemRelation(), &itemParameterRelation()})
        registerCommand(variant->commandId, opensModal<RelationDialog>(std::cref(*variant)));
    registerCommand(command::QuickLineBuild, [](ScreenHost &host) {
        LineLayoutDialog screen(host.owner());
        if (prompt().runModal(screen) == QDialog::Accepted)
            host.reloadLineLayout();
    });
    registerCommand(command::ElementExchange, opensModal<BundleDialog>());
}

}  // namespace dbkeel
