#pragma once

#include <QStringList>

namespace dbkeel::cli {

// dbkeel-cli bundle export FILE | import FILE | rebuild: the base ID bundle and the one-key build,
// as the bundle screen does them, each step printed (failures on stderr, starred).
int runBundle(const QStringList &arguments);

}  // namespace dbkeel::cli
