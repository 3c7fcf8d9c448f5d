#pragma once
// The history of replacing writes: before a write replaces the rows of some tables, the rows it is about
// to replace are kept in one file of the history folder, so that a wrong import or build can be undone.
// Window-free: used by the screens' editors and by dbkeel-cli.

#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <optional>

namespace dbkeel {

class SharedDb;

// [HISTORY] of dbtool.ini: ENABLED (1/0), KEEP (newest entries kept), MAXMB (megabytes kept), FOLDER.
struct HistorySettings {
    static constexpr int kDefaultEntries = 50;
    static constexpr int kDefaultMegabytes = 200;

    bool enabled = true;
    int keepEntries = kDefaultEntries;
    int keepMegabytes = kDefaultMegabytes;
    QString folder;  // empty: "history" in the configuration folder (entry 3), else in the system directory

    QString resolvedFolder() const;
};

// The process's settings, read from dbtool.ini of the program directory on first use.
HistorySettings &historySettings();
HistorySettings readHistorySettings(const QString &dbtoolIni);

struct HistoryTable {
    QString name;
    QStringList columns;
    QJsonArray rows;  // each row an array of its values, text or null
};

struct HistoryEntry {
    QString id;  // the file's name without ".json": "20261211-131500-123_bundle-import_admin"
    QString path;
    QDateTime time;
    QString user;
    QString action;
    QString version;  // of the program that kept it
    QList<HistoryTable> tables;

    QStringList tableNames() const;
    QString rowCounts() const;  // "tb_id_devid 36, tb_id_dev_item 120"
};

// "历史记录: <path>": how the main window's log and the screens tell where an entry went.
QString historyNote(const QString &path);

// While one lives, it hears of every entry kept, on any thread, in order.
class HistoryWatch {
public:
    HistoryWatch();
    ~HistoryWatch();
    HistoryWatch(const HistoryWatch &) = delete;
    HistoryWatch &operator=(const HistoryWatch &) = delete;

    QStringList keptPaths() const;
    void heard(const QString &path);  // by keepHistory

private:
    mutable QMutex m_mutex;
    QStringList m_paths;
};

// Keeps the rows of `tables` before `action` replaces them and answers the file's path (empty when
// history is off), also told to the main window's log and every HistoryWatch alive. DbError when the entry cannot be
// written whole, so that the write it protects does not happen.
QString keepHistory(SharedDb &db, const QString &action, const QStringList &tables);
// The same for a write that is not inside a database error handler: false with the reason in `error`.
bool keepHistory(SharedDb &db, const QString &action, const QStringList &tables, QString &error);

// Every entry of the history folder, oldest first, read whole.
QList<HistoryEntry> historyEntries();
// One entry by its id; nothing with the reason when it is missing or unreadable.
std::optional<HistoryEntry> readHistoryEntry(const QString &id, QString &error);

// Puts the entry's tables back as they were, in one transaction, after keeping what they hold now.
// DbError when it fails; nothing is changed then.
void restoreHistory(SharedDb &db, const HistoryEntry &entry);

// What is derived from `tables` and should be rebuilt after they changed: "一键生成", "工位配置建立",
// "系统索引文件".
struct HistoryRebuild {
    bool runTables = false;   // tb_id_item, tb_id_dev, tb_id_param from the dictionaries and relations
    bool indexFiles = false;  // the system index file and UserID.dat
};
HistoryRebuild rebuildAfterRestore(const QStringList &tables);

}  // namespace dbkeel
