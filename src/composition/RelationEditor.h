#pragma once
// The GUI-free part of the relation screens: the owners (devices or items), the available members
// with their ticks, the assigned members, and the write that replaces the owner's stored relation.

#include "composition/RelationVariant.h"
#include "screens/ScreenStatus.h"
#include "widgets/ReportListModel.h"

#include <QHash>
#include <QObject>
#include <QStringList>

namespace dbkeel {

class RelationEditor : public QObject {
    Q_OBJECT

public:
    enum Column { CodeShown = 0, Name = 1, Code = 2, State = 3, Remark = 4, InsertTime = 5 };

    explicit RelationEditor(const RelationVariant &variant, QObject *parent = nullptr, int listClientWidth = 600);

    const RelationVariant &variant() const { return m_variant; }
    ReportListModel &available() { return m_available; }
    ReportListModel &assigned() { return m_assigned; }
    ScreenStatus &status() { return m_status; }  // left: where the last write's history entry went
    // The owner selector's entries, in query order (a name may appear twice).
    const QStringList &ownerNames() const { return m_ownerNames; }
    QString selectedOwner() const { return m_selected; }

    // Both lists get their columns for a list `listClientWidth` wide.
    void setColumns(int listClientWidth);
    // Reads the live owners and the live members; nothing when the database is closed.
    void load();

    // The owner chosen in the selector: its stored members, or its default when it has none stored.
    void selectOwner(const QString &name);
    void addTicked();                 // ">"
    void addAll();                    // ">>"
    void removeAll();                 // "<<"
    void removeOne(int assignedRow);  // a double click in the assigned list, after a question
    void tickAll();                   // "全选"
    void invertTicks();               // "反选"
    // "建立": replaces the owner's stored members with the assigned list, all or nothing. True when written.
    bool write();

private:
    void appendAssigned(int availableRow);
    // Ticks and assigns the stored members of `code`; true when at least one relation row was read.
    bool loadRelations(int code);
    void applyDefault(int code);
    void copyRows(bool tickedOnly);

    const RelationVariant &m_variant;
    ReportListModel m_available, m_assigned;
    QStringList m_ownerNames;
    QHash<QString, QString> m_ownerCodes;  // name to code; a later owner of the same name wins
    QString m_selected;
    ScreenStatus m_status;
};

}  // namespace dbkeel
