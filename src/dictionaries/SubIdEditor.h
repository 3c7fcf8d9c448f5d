#pragma once
// The GUI-free part of SubIdDialog: the enumerated values (sub-IDs) of the basic-information fields
// in tb_login_ini, added, deleted and given their main attribute at once through SubIdRowDialog's record;
// the login flags staged in the check boxes until "更新"; the default main IDs; the TRANSINFO.TRANSINFO
// exchange file.

#include "core/ColumnWidths.h"
#include "dictionaries/SubIdSql.h"
#include "screens/ScreenStatus.h"
#include "widgets/ReportListModel.h"

#include <QHash>
#include <QObject>
#include <QStringList>

namespace dbkeel {

// The record of SubIdRowDialog, kept for the program run.
struct SubIdRecord {
    static constexpr int kSubIdBytes = 8, kValueBytes = editLimit(64, {{"tb_login_ini", "infovalue_about"}}),
                         kMainNameBytes = editLimit(80, {{"tb_login_ini", "subbyname"}});
    enum Mode { Add, ChangeMainAttribute };

    QString infoId, suggestedSubId, subId, value, mainName, mainId;
    Mode mode = Add;
};
SubIdRecord &subIdRecord();

// What SubIdRowDialog's "确定" found.
enum class SubIdEntry { Accepted, SubIdOutOfRange, ValueEmpty };
// Checks the entries against the record's info ID: a sub-ID outside info ID × 10000 + 1 .. + 9999 and
// an empty value are refused with their message. Accepted entries go into the record, with the main ID
// the standard values give for the main name ("-1" for none).
SubIdEntry enterSubId(const QString &subId, const QString &value, const QString &mainName);

class SubIdEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int IdColumn = 0, InfoIdColumn = 1, FieldNameColumn = 2, SubIdColumn = 3, ValueColumn = 4,
                         InsertDateColumn = 5, MainNameColumn = 6, MainIdColumn = 7, SameTypeNameColumn = 8,
                         SameTypeIdColumn = 9;
    static inline const QString kAdded = QStringLiteral("新增");  // column 0 of a row added since loading
    static inline const QString kFileName = QStringLiteral("TRANSINFO"), kExtension = QStringLiteral(".TRANSINFO"),
                                kSection = QStringLiteral("TRANSINFO");

    explicit SubIdEditor(QObject *parent = nullptr, int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    const ReportListModel &list() const { return m_list; }
    ScreenStatus &status() { return m_status; }
    void setColumns(int listClientWidth);

    // The drop-down: the field names (info ID 1023 left out), the one it shows (empty: none), and
    // whether "新增" is enabled.
    const QStringList &fieldNames() const { return m_fieldNames; }
    QString currentField() const { return m_currentField; }
    bool canAdd() const { return m_canAdd; }

    // Opening: every field name, the first one shown, the values of every field listed.
    void open();
    // "车辆信息:" lost the focus: the names containing `text`; the list stays, no name is shown.
    void filterFields(const QString &text);
    // A name chosen in the drop-down: "新增" follows its protection, the list shows its values.
    void chooseField(const QString &name);

    // "新增" around SubIdRowDialog: prepareAdd fills the record for the shown field (false without one);
    // finishAdd lists and stores what the dialog left in it.
    bool prepareAdd();
    void finishAdd(bool accepted);
    QString suggestedSubId(const QString &infoId) const;
    // A right click around SubIdRowDialog: the row's main attribute (false when the user may not change it).
    bool prepareMainAttribute(int row);
    void finishMainAttribute(int row, bool accepted);

    // A double click: deletes the row's value after a question, unless its field is protected.
    void deleteValue(int row);
    // "删除当前全部": every value listed, after a question.
    void deleteAllShown();
    // "校验": duplicate and out-of-range sub-IDs red. False when a fault was found.
    bool check();
    // "更新": the login flag of every row as its check box shows it.
    void storeLoginFlags();
    // "缺省": the default main IDs, after a question.
    void applyDefaultMainIds();
    void exportFile(bool onlyCurrentField);
    void importFile();

signals:
    void fieldsChanged();  // field names or the shown name changed
    void canAddChanged(bool enabled);
    void checkRunning(bool running);  // "校验" disabled and showing "校验中..."
    void listLoading(bool loading);   // the view stops drawing while the list is refilled

private:
    void loadFieldNames(const QString &filter);
    void loadList(const QString &query);
    void setCanAdd(bool enabled);
    void colourBySubId(int row);
    QString infoIdOf(const QString &fieldName) const;
    bool mayDelete(int row) const;
    QList<SubIdValue> exportedValues(const QString &fieldName, bool *read);
    bool writeTransInfo(const QString &path, const QList<SubIdValue> &values);

    ReportListModel m_list;
    ScreenStatus m_status;
    QStringList m_fieldNames;
    QHash<QString, QString> m_infoIds;  // field name → info ID
    QString m_currentField;
    QString m_addingField;  // the field whose value SubIdRowDialog is adding
    bool m_canAdd = true;
};

}  // namespace dbkeel
