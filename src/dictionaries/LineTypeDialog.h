#pragma once
// The line-type screen over a LineTypeEditor.

#include "dictionaries/LineTypeEditor.h"
#include "screens/ScreenDialog.h"

class QPushButton;

namespace dbkeel {

class ReportListView;

class LineTypeDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit LineTypeDialog(QWidget *parent = nullptr);
    LineTypeEditor &editor() { return m_editor; }

private:
    LineTypeEditor m_editor;
    ReportListView *m_list = nullptr;
    QPushButton *m_update = nullptr;
};

}  // namespace dbkeel
