// A component for the binder's tests: ExtInit answers its third argument, ExtShow throws, and the other
// exports are missing.

#include "extensions/ComponentAbi.h"

#include <stdexcept>

extern "C" {

DBKEEL_COMPONENT_EXPORT int ExtInit(void *, void *, int third)
{
    return third;
}

DBKEEL_COMPONENT_EXPORT int ExtShow(int, int, int, int, int)
{
    throw std::runtime_error("inside the component");
}

}  // extern "C"
