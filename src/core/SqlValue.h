#pragma once
// The two ways a value enters a statement text.

#include <QString>

namespace dbkeel {

// A quoted literal: 'O''Brien' for O'Brien.
QString sqlText(const QString &value);

// A value the statement writes unquoted (codes, ports, ids): a valid decimal integer
// (optional sign, digits, surrounding blanks ignored) is written as it is. Anything else, the
// empty text included, is refused with a DbError in the driver's manner before any statement
// runs: SQL Server would quietly store '' as 0, and the embedded database would let a wrong
// value compare unequal instead of failing.
QString sqlNumber(const QString &value);
QString sqlNumber(long long value);

}  // namespace dbkeel
