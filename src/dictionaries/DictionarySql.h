#pragma once
// The statements of the device, item and parameter dictionaries. Values are quoted with
// sqlText and codes and IDs written with sqlNumber, so a name with an apostrophe is stored
// as typed and a wrong code fails on its column's type.

#include "core/SqlDialect.h"
#include "dictionaries/DictionaryVariant.h"

#include <QString>

namespace dbkeel {

// One row of a dictionary list (key only for devices).
struct DictionaryRow {
    QString id, name, code, key, state, remark, time;
};

// One record of an exchange file, with the time of its import.
struct ImportRecord {
    QString code, name, key, state, time;
};

// Store: a row added since loading, a stored row marked "无效", any other stored row.
QString dictionaryInsertStatement(const DictionaryVariant &v, const DictionaryRow &row);
QString dictionaryDeleteStatement(const DictionaryVariant &v, const DictionaryRow &row);
QString dictionaryUpdateStatement(const DictionaryVariant &v, const DictionaryRow &row);

// Import: inserts a missing code; forced also renames an existing one.
QString dictionaryImportStatement(Dialect dialect, const DictionaryVariant &v, const ImportRecord &record, bool forced);

}  // namespace dbkeel
