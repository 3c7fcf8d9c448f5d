#pragma once
// The debug query screen over a DebugQueryEditor.

#include "DebugQueryEditor.h"
#include "ScreenDialog.h"

#include <QTimer>

namespace dbkeel {

class ReportListView;

class DebugSerchDLG : public ScreenDialog {
    Q_OBJECT

public:
    explicit DebugSerchDLG(QWidget *parent = nullptr);
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
