#pragma once
// Trace output of the dictionary screens (off unless enabled by QT_LOGGING_RULES).

#include <QLoggingCategory>

namespace dbkeel {
Q_DECLARE_LOGGING_CATEGORY(dictionaryTrace)
}
