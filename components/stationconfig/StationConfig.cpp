// The station-configuration manager's exports.

#include "components/ComponentSupport.h"
#include "components/stationconfig/HostConfigDialog.h"
#include "extensions/ComponentAbi.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

using namespace dbkeel;

namespace {

QPointer<QWidget> owner;

}  // namespace

extern "C" {

// Takes the owner window from the initialisation block.
DBKEEL_COMPONENT_EXPORT int ExtInit(void *initBlock, void *, int)
{
    if (!initBlock)
        return 0;
    owner = initBlockOwner(initBlock);
    return 1;
}

// Shows the manager over the owner's rectangle until the user closes it.
DBKEEL_COMPONENT_EXPORT int ExtShow(int, int left, int top, int right, int bottom)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return 0;
    HostConfigDialog dialog(hostConfigurationFile(), owner);
    if (right > left && bottom > top)
        dialog.move(left + (right - left - dialog.width()) / 2, top + (bottom - top - dialog.height()) / 2);
    prompt().runModal(dialog);
    return 1;
}

DBKEEL_COMPONENT_EXPORT int ExtStop(void)
{
    return 1;
}

DBKEEL_COMPONENT_EXPORT int ExtRelease(void)
{
    owner = nullptr;
    return 1;
}

}  // extern "C"
