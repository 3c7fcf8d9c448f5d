#include "Foundation.h"
