#pragma once
// The GUI-free part of the plate correction screen PlateCorrectionDialog: vehicles whose loginid is not their
// plate followed by a valid plate-kind code are listed, and the kind is rewritten with the loginid.

#include "widgets/ReportListModel.h"

#include <QHash>
#include <QObject>

namespace dbkeel {

QString plateKindsQuery();
QString plateSearchQuery(const QString &platePrefix);
QString plateUpdateStatement(const QString &kindCode, const QString &newLoginId, const QString &oldLoginId);
// A loginid that is not the plate followed by the kind, or a kind that does not read as a non-zero integer.
bool isPlateError(const QString &loginId, const QString &plate, const QString &kind);

class PlateCorrectionEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int LoginIdColumn = 0, PlateColumn = 1, KindColumn = 2, VehicleKindColumn = 3;

    explicit PlateCorrectionEditor(QObject *parent = nullptr, int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    void setColumns(int listClientWidth);

    // Opening: the plate and vehicle kinds of tb_login_ini.
    void open();
    QStringList plateKinds() const { return m_kindTexts; }  // the drop-down, by text

    // "查询": the vehicles in error whose plate begins with `platePrefix` (all with it empty).
    void search(const QString &platePrefix);
    // A click: the row becomes the chosen one; its plate and loginid show in the edits.
    void choose(int row);
    int chosenRow() const { return m_chosen; }
    QString chosenPlate() const { return m_chosenPlate; }
    QString chosenLoginId() const { return m_chosenLoginId; }
    // The drop-down entry for the chosen row's stored kind: its text, else the first entry beginning with it.
    QString chosenKindText() const;

    enum class UpdateResult { KindMissing, NothingChosen, Declined, Updated, Failed };
    // "更新" with the drop-down's text; after an update the search runs again with `platePrefix`.
    UpdateResult update(const QString &kindText, const QString &platePrefix);

signals:
    void chosenChanged();

private:
    void setChosen(int row);

    ReportListModel m_list;
    QHash<QString, QString> m_kindTextOf, m_kindCodeOf, m_vehicleKindTextOf;
    QStringList m_kindTexts;
    int m_chosen = -1;
    QString m_chosenPlate, m_chosenLoginId;
};

}  // namespace dbkeel
