#pragma once
// The thirteen parts of the index file build, in the order they run, and what each writes.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace dbkeel {

class ProfileFile;
class SharedDb;

// The temporary index file as the parts write it: kept in memory, saved once at the end.
class IndexWriter {
public:
    explicit IndexWriter(ProfileFile &file) : m_file(file) {}

    // Writes or replaces `key`. A key without a name is skipped (no reader can ask for it); a key or
    // value the file cannot carry (a line break, '=' in a key, a key starting with '[' or ';', text
    // without a GBK form) throws DbError with the file's reason, ending the part like a failed statement.
    void write(const QString &section, const QString &key, const QString &value);
    // `codes`, each followed by a comma, under `listKey`; their number under `countKey`.
    void writeList(const QString &section, const QString &listKey, const QString &countKey, const QStringList &codes);
    QString read(const QString &section, const QString &key) const;

private:
    ProfileFile &m_file;
};

// What a part works with.
struct PartContext {
    SharedDb &db;  // the part's own connection
    IndexWriter &index;
    QString userTemp;  // "User_Temp", written by the user part only
    QString remark;    // set by a part that succeeded with something to say
};

// A failure that a part tells in its own words instead of its table's (the item read of ParamID2ItemID).
struct PartFailure {
    QString error;
    QString message;
};

struct IndexPart {
    QString name;  // "SubID": the status text is "正在创建SubID..."
    std::function<void(PartContext &context)> run;
    // A database error is shown in a message box as `messagePrefix` followed by the driver's text…
    bool showsMessage;
    QString messagePrefix;
    // …or only traced with this format ("%s" the driver's text).
    const char *trace;
};

const QList<IndexPart> &indexParts();

}  // namespace dbkeel
