#include "extensions/SharedConnectionControl.h"

#include "core/AppLog.h"
#include "core/AppState.h"
#include "core/Database.h"
#include "core/DbWatchdog.h"

namespace dbkeel {

namespace {

int closeShared(void *watchdog)
{
    if (watchdog)
        static_cast<DbWatchdog *>(watchdog)->stop();
    CloseDb();
    DbReady = 0;
    return 1;
}

int reopenShared(void *watchdog)
{
    QString error;
    const int opened = OpenDb(error);
    if (opened == 1)
        DbReady = 1;
    else
        AddLog(QStringLiteral("连接数据库失败!!!") + error, false);
    if (watchdog)
        static_cast<DbWatchdog *>(watchdog)->start();
    return opened;
}

}  // namespace

DbkeelConnectionControl sharedConnectionControl(DbWatchdog *watchdog)
{
    return {watchdog, &closeShared, &reopenShared};
}

}  // namespace dbkeel
