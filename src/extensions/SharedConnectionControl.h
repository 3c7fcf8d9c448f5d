#pragma once
// The program's side of the backup manager's hand-shake: close the shared connection before a
// restore, open it again afterwards.

#include "ComponentAbi.h"

namespace dbkeel {

// Close: CloseDb. Reopen: OpenDb, DbReady = 1 on success (on failure the watchdog keeps trying).
const DbkeelConnectionControl *sharedConnectionControl();

}  // namespace dbkeel
