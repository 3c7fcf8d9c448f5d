#pragma once
// The two ways a value enters a statement text.

#include <QString>

namespace dbkeel {

// A quoted literal: 'O''Brien' for O'Brien.
QString sqlText(const QString &value);

// A value the statement writes unquoted (codes, ports, ids): a valid decimal integer
// (optional sign, digits, surrounding blanks ignored) is written as it is, anything else
// as a quoted literal, so a wrong value fails on its column's type instead of changing
// the statement.
QString sqlNumber(const QString &value);
QString sqlNumber(long long value);

}  // namespace dbkeel
