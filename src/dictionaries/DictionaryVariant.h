#pragma once
// The device, item and parameter dictionaries are one screen design; everything in which
// they differ is one DictionaryVariant.

#include <QList>
#include <QString>
#include <QStringList>

namespace dbkeel {

// A field of an exchange-file record.
enum class RecordField { Name, Code, Key, State };

struct DictionaryVariant {
    // The screen
    QString screenName;  // object name of the dialog
    QString title;
    int commandId = 0;  // main-menu command

    // The table
    QString table, codeColumn, nameColumn;
    QString keyColumn;  // devices only; empty for the others
    int minCode = 0, maxCode = 0;

    // The list: spec string with one %d per column, w = client width / widthDivisor,
    // and the width of each shown column as an offset from w (the columns after them are hidden).
    QString listSpec;
    int widthDivisor = 4;
    QList<int> widthOffsets;

    QString loadQuery;

    // The exchange file: extension (with the dot), the fields of a record in file order,
    // and whether an import writes 说明 and the import time.
    QString fileExtension;
    QList<RecordField> recordFields;
    bool importsStateAndTime = true;

    // Texts
    QString loadErrorCaption;
    QString largestCodeFormat;  // one %1
    QString deleteQuestion;
    QString storeRefused;
    QString storeBusyStatus, storeDoneStatus;
    QString searchButton, searchEmpty, searchResult;  // searchResult: %1 code, %2 name
    QString searchCodeMode, searchNameMode;
    QString searchTip, cancelTip, checkTip, updateTip;
    QString folderTitle;
    QString nothingTicked;
    QString forcedQuestion;
    QString importTrace;  // %1 the error text

    // Columns of the list
    static constexpr int IdColumn = 0, NameColumn = 1, CodeColumn = 2;
    bool hasKey() const { return !keyColumn.isEmpty(); }
    int keyListColumn() const { return hasKey() ? 3 : -1; }
    int stateColumn() const { return hasKey() ? 4 : 3; }
    int remarkColumn() const { return stateColumn() + 1; }
    int timeColumn() const { return stateColumn() + 2; }
    int columnCount() const { return timeColumn() + 1; }

    bool codeInRange(int code) const { return code >= minCode && code <= maxCode; }
    // The list's spec string for a list `clientWidth` pixels wide.
    QString columnSpec(int clientWidth) const;
    // Position of `field` in a record; -1 when the record does not carry it.
    int recordIndex(RecordField field) const { return int(recordFields.indexOf(field)); }
};

const DictionaryVariant &deviceDictionary();
const DictionaryVariant &itemDictionary();
const DictionaryVariant &parameterDictionary();

}  // namespace dbkeel
