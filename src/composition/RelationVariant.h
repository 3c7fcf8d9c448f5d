#pragma once
// The device–item and item–parameter relation screens are one design; everything in which they
// differ, the built-in default assignments included, is one RelationVariant.

#include <QList>
#include <QString>
#include <QStringList>

namespace dbkeel {

// The members an owner gets by default when it has no stored relation: every code in the ranges
// (inclusive), matched in the order of the available list; with `firstOnly` only the first match.
struct DefaultAssignment {
    struct Range {
        int first, last;
    };
    int owner = 0;
    QList<Range> ranges;
    bool firstOnly = false;

    bool contains(int code) const;
};

struct RelationVariant {
    QString screenName;  // object name of the dialog
    QString title;
    int commandId = 0;

    // The owner selector: its caption, its query (live entries) and the columns it reads.
    QString ownerLabel;
    QString ownerQuery;
    QString ownerCodeColumn, ownerNameColumn;

    // The member list: its query (live entries), the columns it reads, the list titles and spec string.
    QString memberQuery;
    QString memberCodeColumn, memberNameColumn;
    QString availableTitle, assignedTitle;
    QStringList listTitles;  // six columns, widths h - 50, h + 20, 0, 0, 0, 0

    // The relation table: its name, the owner's stored members, and the write.
    QString table;
    QString loadFormat;    // %1 the owner's code
    QString deleteFormat;  // %1 the owner's code
    QString insertFormat;  // %1 owner code, %2 owner name, %3 member code, %4 member name

    QString nothingSelected;
    QString emptyAssignment;
    bool hasTickButtons = false;  // the hidden "全选" and "反选"

    QList<DefaultAssignment> defaults;
    // The default of `owner`; nullptr when it has none.
    const DefaultAssignment *defaultFor(int owner) const;
};

const RelationVariant &deviceItemRelation();
const RelationVariant &itemParameterRelation();

}  // namespace dbkeel
