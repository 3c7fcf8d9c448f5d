#include "maintenance/MaintenanceTrace.h"

namespace dbkeel {

Q_LOGGING_CATEGORY(maintenanceTrace, "dbkeel.maintenance", QtInfoMsg)

}  // namespace dbkeel
