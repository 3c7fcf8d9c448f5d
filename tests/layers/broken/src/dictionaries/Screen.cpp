#include "console/StationAddress.h"
#include <QtWidgets/QWidget>
