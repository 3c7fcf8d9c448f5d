#pragma once
// Where the installation keeps its files, and paths formed the way its programs form them.

#include <QString>

namespace dbkeel {

// The system directory: $DBKEEL_SYSDIR when set, else $HOME/.local/share/dbkeel/system.
QString systemDirectory();

// Where an installed program keeps its private libraries: <program folder>/../lib/dbkeel
// (/usr/lib/dbkeel for /usr/bin). Empty before the application object exists.
QString installedLibraryDirectory();

// "a\b" with the platform's separator; a separator at the end of `a` and one at the
// start of `b` give one. An empty `a` gives `b` unchanged (never a path from the root).
QString joinPath(const QString &a, const QString &b);

}  // namespace dbkeel
