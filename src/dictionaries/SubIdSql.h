#pragma once
// The statements of the basic-information sub-IDs (tb_login_ini) and of the field names (tb_id_info).
// Texts go in through sqlText, info IDs, sub-IDs and row IDs through sqlNumber.

#include "core/SqlDialect.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace dbkeel {

struct DefaultMainId;

// A value of a field as it is added, exported and imported.
struct SubIdValue {
    QString infoId, fieldName, subId, value, mainName, mainId;
};

// Every value, or the values of one info ID.
QString subIdListQuery();
QString subIdListQuery(const QString &infoId);
// The field names (every one with an empty filter, else those containing it).
QString fieldNameQuery(const QString &filter);

QString subIdInsertStatement(const SubIdValue &value);
QString subIdDeleteStatement(const QString &subId);
QString mainAttributeStatement(const QString &mainName, const QString &mainId, const QString &infoId,
                               const QString &subId);
QString loginFlagStatement(bool offered, int rowId);
QString defaultMainIdStatement(const DefaultMainId &entry);

// The .TRANSINFO export: every value, or those whose field name begins with `fieldName`.
QString transInfoExportQuery(const QString &fieldName);
// Adds a missing value (same info ID and sub-ID), else replaces only its main attribute.
QString transInfoImportStatement(Dialect dialect, const SubIdValue &value);
// The embedded database's import of a run of values whose (info ID, sub-ID) all differ, in two statements
// that leave what transInfoImportStatement would leave value by value: the main attribute of the values
// present replaced first, then the missing values added in the run's order.
QStringList transInfoImportBatch(const QList<SubIdValue> &values);

}  // namespace dbkeel
