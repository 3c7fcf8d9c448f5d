#pragma once
// The GUI-free part of the debug query screen DebugQueryDialog: the vehicles in the inspection queue,
// five views of one inspection, the table browser and the numbering reset.

#include "maintenance/TableBrowser.h"
#include "widgets/ReportListModel.h"

#include <QDate>
#include <QHash>
#include <QObject>

#include <array>

namespace dbkeel {

class SqlCursor;

enum class DebugList { Queue, Info, Items, Standards, Checks, Tasks };

struct QueueFilter {
    QString plate;  // matched anywhere in the plate number
    bool today = false;
    bool motorcycles = false;
    bool cars = false;
    QDate date;  // the day "当天" means
};

QString queueQuery(const QueueFilter &filter);
QString plateLookupQuery(const QString &plate, const QString &kindCode);
QString queueStatusQuery(const QString &loginId);
// The statement of one of the five inspection views for `loginId`.
QString inspectionQuery(DebugList view, const QString &loginId);
QString resetNumberingStatement();
bool isMotorcyclePlateKind(const QString &code);

class DebugQueryEditor : public QObject {
    Q_OBJECT

public:
    explicit DebugQueryEditor(QObject *parent = nullptr);

    ReportListModel &list(DebugList which) { return m_lists[size_t(which)]; }
    TableBrowser &browser() { return m_browser; }
    // Each list's columns for its width; the queue's by the vehicle-display switch (0: plate number and
    // kind shown, VIN hidden; else the other way round).
    void setColumns(DebugList which, int listClientWidth);

    // Opening: the display switch from the host configuration, the sub-ID maps, the plate kinds and
    // the tables to browse.
    void open();
    int displaySwitch() const { return m_displaySwitch; }
    QStringList plateKinds() const { return m_plateKinds; }
    QStringList tables() const { return m_tables; }

    // "刷新".
    void refreshQueue(const QueueFilter &filter);
    // "查询...": the inspection by plate and kind text, else by the typed loginid.
    void inquire(const QString &plate, const QString &kindText, const QString &typedLoginId);
    // A click on a queue row: the continuous display stops, the row's inspection is shown.
    void chooseQueueRow(int row);
    void loadViews();
    QString loginId() const { return m_loginId; }
    QString queueStatus() const { return m_queueStatus; }

    // "连续" and the 800 ms timer: the item view follows the inspection while it is on.
    void setContinuous(bool on);
    bool isContinuous() const { return m_continuous; }
    void tick();

    // "检测编号归零".
    void resetNumbering();

signals:
    void loginIdChanged(const QString &loginId);
    void queueStatusChanged(const QString &text);
    void continuousChanged(bool on);

private:
    void setLoginId(const QString &loginId);
    void showQueueStatus();
    void loadView(DebugList view);
    void appendViewRow(DebugList view, const SqlCursor &cursor);

    std::array<ReportListModel, 6> m_lists;
    TableBrowser m_browser{this};
    QHash<QString, QString> m_codeOf, m_textOf;  // sub-ID display text -> code, code -> text
    QStringList m_plateKinds, m_tables;
    int m_displaySwitch = 0;
    QString m_loginId, m_queueStatus;
    bool m_continuous = false;
};

}  // namespace dbkeel
