#include "CompositionScreens.h"

#include "Prompt.h"
#include "RelationDialog.h"
#include "ScreenRegistry.h"
#include "BundleDialog.h"
#include "LineLayoutDialog.h"

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
