#pragma once
// The one report of a failed database statement on a screen.

#include <QString>

namespace dbkeel {

class DbError;

// What a failure says about the shared connection.
enum class AfterDbError {
    MarkLost,  // DbReady 0: the watchdog checks the connection and reopens it when it is gone
    KeepReady,
};

// `context` followed by the driver's text, in a message box with the exclamation icon.
void reportDbError(const QString &caption, const QString &context, const DbError &error,
                   AfterDbError after = AfterDbError::MarkLost);

}  // namespace dbkeel
