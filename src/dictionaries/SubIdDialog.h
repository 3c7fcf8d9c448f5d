#pragma once
// "新建基本信息subid": the sub-ID screen over a SubIdEditor.

#include "dictionaries/SubIdEditor.h"
#include "screens/ScreenDialog.h"

class QComboBox;

namespace dbkeel {

class ReportListView;

class SubIdDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit SubIdDialog(QWidget *parent = nullptr);
    SubIdEditor &editor() { return m_editor; }

private:
    void showFieldNames();
    void add();
    void changeMainAttribute();

    SubIdEditor m_editor;
    ReportListView *m_list = nullptr;
    QComboBox *m_fields = nullptr;
};

}  // namespace dbkeel
