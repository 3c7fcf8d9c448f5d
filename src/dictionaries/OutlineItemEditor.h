#pragma once
// The GUI-free part of OutlineItemDialog: the external-inspection items of tb_id_eval, edited
// through OutlineItemRowDialog's record and written at once, and the OFFLINEPARAM.OFFLINEITEM file.

#include "core/ColumnWidths.h"
#include "core/SqlDialect.h"
#include "screens/ScreenStatus.h"
#include "widgets/ReportListModel.h"

#include <QObject>

namespace dbkeel {

struct OutlineItem {
    QString code, name, type, description, alias;
};

// The record of OutlineItemRowDialog, kept for the program run: an item's texts, whether it is a vetoing
// item, and what 确定 does with it.
struct OutlineRecord {
    static constexpr int kCodeBytes = editLimit(32, {{"tb_id_eval", "pingdingid"}}),
                         kNameBytes = editLimit(64, {{"tb_id_eval", "pingdingname"}}),
                         kDescriptionBytes = editLimit(100, {{"tb_id_eval", "usetypeabout"}}),
                         kAliasBytes = editLimit(49, {{"tb_id_eval", "alias"}});
    enum Operation { Change = 0, Insert = 1 };

    QString code, name, description, alias;
    bool vetoing = false;
    int operation = Change;

    // The record of a stored item (vetoing when its type is "否决项"), its texts cut to their widths.
    static OutlineRecord of(const OutlineItem &item, Operation operation = Change);
    // The item to store: its type is "否决项" or "非否决项".
    OutlineItem item() const;
    void cutToWidths();
};
OutlineRecord &outlineRecord();

// Statements of tb_id_eval.
QString outlineLoadQuery();
QString outlineExportQuery();
QString outlineClearStatement();
// Saves one item by its code (inserted when the code is new, else changed).
QString outlineSaveStatement(Dialect dialect, const OutlineItem &item);
// The same for an imported item, whose code the statement writes unquoted.
QString outlineImportStatement(Dialect dialect, const OutlineItem &item);

class OutlineItemEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int IdColumn = 0, CodeColumn = 1, NameColumn = 2, TypeColumn = 3, DescriptionColumn = 4,
                         AliasColumn = 5;
    static inline const QString kFileName = QStringLiteral("OFFLINEPARAM"), kExtension = QStringLiteral(".OFFLINEITEM"),
                                kSection = QStringLiteral("OFFLINE");

    explicit OutlineItemEditor(QObject *parent = nullptr, int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    ScreenStatus &status() { return m_status; }
    OutlineItem item(int row) const;

    void setColumns(int listClientWidth);
    void load();
    // The editor, around OutlineItemRowDialog: prepareEdit fills the shared record from the row
    // (false without such a row); finishEdit puts the record into the list and the table.
    bool prepareEdit(int row);
    void finishEdit(int row, bool accepted);
    void exportAll();
    void importFile();

private:
    void writeRow(int row, const OutlineItem &item);
    bool exportTo(const QString &path);
    // The items of an exchange file, those without a code left out.
    static QList<OutlineItem> readItems(const QString &path);
    // Writes the items (after clearing the table when `clear`), with the status and progress of an
    // import; false when a clearing import failed and wrote nothing.
    bool importItems(const QList<OutlineItem> &items, bool clear);
    // Without clearing each item is written on its own; a failure is reported and the next follows.
    void importEach(const QList<OutlineItem> &items);
    // Clear first: the clear and every item, or after a failure (reported) nothing.
    bool replaceAll(const QList<OutlineItem> &items);

    ReportListModel m_list;
    ScreenStatus m_status;
};

}  // namespace dbkeel
