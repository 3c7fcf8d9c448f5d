/* A host library that exports GetField alone, for the binding's missing-export path. */
#include "hostcfg/HostCfg.h"

#include <string.h>

int GetField(const char *text, char *out, int index)
{
    (void)index;
    strcpy(out, "partial");
    return text ? 8 : -1;
}
