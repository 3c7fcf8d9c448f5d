#pragma once
// Process-wide flags shared by the user-interface thread and the background threads.

#include "platform/BackgroundThread.h"

#include <atomic>

namespace dbkeel {

// 1 while the shared database connection is usable; error handlers clear it, which wakes the watchdog
// to restore it.
inline SharedFlag DbReady{0};
// Set to 1 by the exit sequence, which wakes every background thread waiting for it.
inline SharedFlag ExitRequested{0};
// 1 after the watchdog's last probe found the database server reachable.
inline std::atomic<int> ServerReachable{0};
// Which database entry of the host configuration OpenDb uses (0 local, 1 remote); from dbtool.ini.
inline std::atomic<int> DBODBCTYPE{0};

}  // namespace dbkeel
