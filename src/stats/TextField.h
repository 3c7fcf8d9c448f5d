#pragma once
// Fields of the comma-separated texts that the installation's files carry.

#include <QString>

namespace dbkeel {

// Field `index` (from 0) of a comma-separated text, through the host library's GetField; empty
// when missing.
QString fieldOf(const QString &text, int index);

}  // namespace dbkeel
