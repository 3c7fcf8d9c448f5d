// A component for the binder's tests that notes the calls of its exports, in order. Its window never
// opens: ExtShow answers 0, as a library does that cannot show itself.

#include "extensions/ComponentAbi.h"

#include <string>

namespace {
std::string calls;
unsigned char statusRecord[64];
}  // namespace

extern "C" {

DBKEEL_COMPONENT_EXPORT int ExtInit(void *, void *, int)
{
    calls += "init;";
    return 1;
}

DBKEEL_COMPONENT_EXPORT int ExtShow(int, int, int, int, int)
{
    calls += "show;";
    return 0;
}

DBKEEL_COMPONENT_EXPORT unsigned char *GetDevData(void)
{
    return statusRecord;
}

DBKEEL_COMPONENT_EXPORT int ExtStop(void)
{
    calls += "stop;";
    return 1;
}

DBKEEL_COMPONENT_EXPORT int ExtRelease(void)
{
    calls += "release;";
    return 1;
}

DBKEEL_COMPONENT_EXPORT const char *RecordedCalls(void)
{
    return calls.c_str();
}

}  // extern "C"
