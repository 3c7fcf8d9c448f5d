#pragma once
// The fixed tables of the basic-information sub-IDs: the standard values (main IDs) of 23 info IDs,
// the default main ID of 289 sub-IDs, and the info IDs the sub-ID screen protects or exports.

#include <QList>
#include <QString>

namespace dbkeel {

// A standard value of a field: its name and its main ID (info ID × 10000 + n).
struct MainValue {
    QString name;
    int mainId = 0;
};

// The standard values of an info ID in the order SubIdRowDialog offers them; empty for other info IDs.
const QList<MainValue> &mainValues(int infoId);
// The main ID the standard values of `infoId` give for `name`; -1 when none does.
int mainIdOf(int infoId, const QString &name);

// One statement of the default main IDs: `subId` gets the standard value `mainId` of its field.
struct DefaultMainId {
    int subId = 0;
    int mainId = 0;
    QString mainName;
    bool operator==(const DefaultMainId &) const = default;
};
// Every statement in the order they run (290; one sub-ID of 1067 is written twice).
const QList<DefaultMainId> &defaultMainIds();

// The sub-IDs of info ID I are I × 10000 + n, n from 1 to 9999; every stored sub-ID lies in this range.
inline constexpr int kFirstSubId = 10010001, kLastSubId = 12009999;
bool isSubIdInRange(int subId);

// Fields whose values cannot be added or deleted one by one.
bool isProtectedInfoId(int infoId);
// Fields whose single values a user above level 1 may still delete.
bool isDeletableAboveLevelOne(int infoId);
// Fields the .TRANSINFO export carries.
bool isExportedInfoId(int infoId);

}  // namespace dbkeel
