#pragma once
// The GUI-free part of the clearing screen ClearingDialog: the nine steps that remove what finished,
// abandoned and cancelled inspections (queue status 1, 4 or 5) leave in the per-inspection tables.

#include "core/SqlDialect.h"
#include "screens/ScreenStatus.h"

#include <QList>
#include <QObject>

namespace dbkeel {

struct ClearingStep {
    QString text;  // the progress text
    QString statement;
};

// In their order: the six detail tables while the queue still selects their rows, then the queue
// folded onto status 4 and deleted, then the re-check print list.
QList<ClearingStep> clearingSteps(Dialect dialect);

class ClearingEditor : public QObject {
    Q_OBJECT

public:
    explicit ClearingEditor(QObject *parent = nullptr);

    // Left: the progress line the screen shows; right: the status record it keeps hidden.
    ScreenStatus &status() { return m_status; }

    // "执行": the nine steps in one transaction, so a failing step leaves every row as it was.
    void clear();

private:
    void showStep(const QString &text);

    ScreenStatus m_status;
};

}  // namespace dbkeel
