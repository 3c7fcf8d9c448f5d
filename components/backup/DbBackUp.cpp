// The backup manager's exports (the library is named DbBackUp.MANAGE).

#include "components/ComponentSupport.h"
#include "components/backup/BackupDialog.h"
#include "extensions/ComponentAbi.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QPointer>

using namespace dbkeel;

namespace {

QPointer<QWidget> owner;
const DbkeelConnectionControl *control = nullptr;

}  // namespace

extern "C" {

// ExtInit(owner window, DbkeelConnectionControl * or null, 0).
DBKEEL_COMPONENT_EXPORT int ExtInit(void *ownerWindow, void *connectionControl, int)
{
    owner = static_cast<QWidget *>(ownerWindow);
    control = static_cast<const DbkeelConnectionControl *>(connectionControl);
    return 1;
}

// Shows the backup screen (mode 5) until the user closes it.
DBKEEL_COMPONENT_EXPORT int ExtShow(int, int, int, int, int)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return 0;
    BackupSource source;
    QString error;
    if (!configuredBackupSource(source, error)) {
        prompt().message(QStringLiteral("提示"), error, PromptIcon::Exclamation);
        return 0;
    }
    BackupDialog dialog(source, control, owner);
    prompt().runModal(dialog);
    return 1;
}

DBKEEL_COMPONENT_EXPORT int ExtRelease(void)
{
    owner = nullptr;
    control = nullptr;
    releaseHostConfiguration();
    return 1;
}

}  // extern "C"
