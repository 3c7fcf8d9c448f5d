#include "console/ConsoleEvents.h"

namespace dbkeel {

ConsoleEvents &consoleEvents()
{
    static ConsoleEvents events;
    return events;
}

}  // namespace dbkeel
