// The login component's exports.

#include "components/ComponentSupport.h"
#include "components/loginbox/LoginDialog.h"
#include "core/SharedDb.h"
#include "platform/Prompt.h"

#include <QApplication>

using namespace dbkeel;

namespace {

SharedDb &connection()
{
    static SharedDb db;
    return db;
}

}  // namespace

extern "C" {

// Shows the password box; 1 with the user in `user` when a login succeeded, 0 when cancelled.
DBKEEL_COMPONENT_EXPORT int ExtDoModal(DbkeelUserRecord *user)
{
    if (!user || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return 0;
    LoginDialog dialog(connection(), QApplication::activeWindow());
    if (prompt().runModal(dialog) != QDialog::Accepted)
        return 0;
    fillUserRecord(*user, dialog.user());
    return 1;
}

// Closes the component's connection and frees its host library binding.
DBKEEL_COMPONENT_EXPORT int ExtStop(void)
{
    connection().close();
    releaseHostConfiguration();
    return 1;
}

}  // extern "C"
