#pragma once
// The two ways a value enters a statement text.

#include <QString>

namespace dbkeel {

// A quoted literal: 'O''Brien' for O'Brien. Plain, not N'…', on SQL Server too: the schema's text
// columns are varchar, and an N'…' compared with one converts the column's side (on 2000, and with a
// SQL collation on any version), so its index is scanned instead of sought. Chinese text in a plain
// literal goes through the database collation's code page; the round trip at connect
// (chineseRoundTrip, core/Database.h) refuses a connection on which it would not come back.
QString sqlText(const QString &value);

// A value the statement writes unquoted (codes, ports, ids): a valid decimal integer
// (optional sign, digits, surrounding blanks ignored) is written as it is. Anything else, the
// empty text included, is refused with a DbError in the driver's manner before any statement
// runs: SQL Server would quietly store '' as 0, and the embedded database would let a wrong
// value compare unequal instead of failing.
QString sqlNumber(const QString &value);
QString sqlNumber(long long value);

}  // namespace dbkeel
