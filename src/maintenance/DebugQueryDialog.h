#pragma once
// The debug query screen over a DebugQueryEditor.

#include "maintenance/DebugQueryEditor.h"
#include "screens/ScreenDialog.h"

#include <QTimer>

namespace dbkeel {

class ReportListView;

class DebugQueryDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit DebugQueryDialog(QWidget *parent = nullptr);
    DebugQueryEditor &editor() { return m_editor; }

private:
    ReportListView *placeList(const QRect &geometry, const QString &objectName, DebugList which);
    void placeQueue();
    void placeInspection();
    void placeBrowser();

    DebugQueryEditor m_editor;
    QTimer m_continuousTimer;
};

}  // namespace dbkeel
