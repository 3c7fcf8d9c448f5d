#pragma once
// Trace output of the maintenance screens: the failures their screens show no message for
// (off unless enabled by QT_LOGGING_RULES).

#include <QLoggingCategory>

namespace dbkeel {

Q_DECLARE_LOGGING_CATEGORY(maintenanceTrace)

}  // namespace dbkeel
