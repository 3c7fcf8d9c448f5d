#pragma once
// The program's side of the backup manager's hand-shake: close the shared connection before a
// restore, open it again afterwards.

#include "extensions/ComponentAbi.h"

namespace dbkeel {

class DbWatchdog;

// Close: the watchdog (when given) is stopped so it cannot reopen the database mid-restore, then
// CloseDb and DbReady = 0. Reopen: OpenDb, DbReady = 1 on success, else the log line
// "连接数据库失败!!!" with the driver's text; the watchdog starts again and keeps retrying.
DbkeelConnectionControl sharedConnectionControl(DbWatchdog *watchdog);

}  // namespace dbkeel
