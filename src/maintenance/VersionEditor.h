#pragma once
// The GUI-free part of the version screen VersionDialog: the database's version, the time of its
// last change and who made it, kept in three fixed rows of tb_version, and the history of changes.

#include "widgets/ReportListModel.h"

#include <QDateTime>
#include <QObject>

#include <functional>

namespace dbkeel {

QString versionCleanUpStatement();
QString versionLoadQuery();
// The four statements of "更新", in their order: the version, its time, the person, the history row.
QStringList versionUpdateStatements(const QString &version, const QString &name, const QString &description,
                                    const std::function<QString()> &now);

// What the screen's edits show.
struct VersionFields {
    QStringList parts;  // the four version parts
    QString changeTime, name, description, entryTime;
};

class VersionEditor : public QObject {
    Q_OBJECT

public:
    explicit VersionEditor(QObject *parent = nullptr, int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    void setColumns(int listClientWidth);
    const VersionFields &fields() const { return m_fields; }
    void setFields(const VersionFields &fields) { m_fields = fields; }

    // Opening: the parts preset to 20, the year's last two digits, the month and the day of `today`,
    // the change time to its time of day.
    void preset(const QDateTime &today);
    // The first tick after opening: rows without a name removed, then the load.
    void cleanUpAndLoad();
    void load();
    // A click on a history row: its person, description and time into the edits.
    void chooseRow(int row);
    // "更新": asks, then the four statements; true when they all ran (the window is then reloaded).
    bool update();

signals:
    void fieldsChanged();

private:
    void readVersion(const QString &version);

    ReportListModel m_list;
    VersionFields m_fields;
};

}  // namespace dbkeel
