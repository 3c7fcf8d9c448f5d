#include "console/StationAddress.h"
