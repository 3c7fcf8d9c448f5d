#pragma once
// The external-inspection item screen over an OutlineItemEditor.

#include "dictionaries/OutlineItemEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class ReportListView;

class OutlineItemDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit OutlineItemDialog(QWidget *parent = nullptr);
    OutlineItemEditor &editor() { return m_editor; }

private:
    OutlineItemEditor m_editor;
    ReportListView *m_list = nullptr;
};

}  // namespace dbkeel
