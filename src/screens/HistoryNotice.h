#pragma once
// The history of a replacing write (core/WriteHistory.h) for a screen whose write has no database
// error handler around it.

#include <QString>
#include <QStringList>

namespace dbkeel {

// Keeps the rows of `tables` on the shared connection before `action` replaces them. When that fails,
// says why in a message box with `caption` and answers false: the write must not happen.
bool keepHistoryOrTell(const QString &caption, const QString &action, const QStringList &tables);

}  // namespace dbkeel
