#include "SharedConnectionControl.h"

#include "AppState.h"
#include "Database.h"

namespace dbkeel {

namespace {

int closeShared(void *)
{
    CloseDb();
    return 1;
}

int reopenShared(void *)
{
    QString error;
    if (OpenDb(error) != 1)
        return 0;
    DbReady = 1;
    return 1;
}

}  // namespace

const DbkeelConnectionControl *sharedConnectionControl()
{
    static const DbkeelConnectionControl control{nullptr, &closeShared, &reopenShared};
    return &control;
}

}  // namespace dbkeel
