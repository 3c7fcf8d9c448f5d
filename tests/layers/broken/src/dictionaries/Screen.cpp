#include "StationAddress.h"
