#pragma once
// The editor of one external-inspection item ("外检项目"), over the process-wide outlineRecord().

#include "screens/ScreenDialog.h"

class QLineEdit;
class QRadioButton;

namespace dbkeel {

class OutlineItemRowDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit OutlineItemRowDialog(QWidget *parent = nullptr);
    // Opens the editor modally through prompt(); true when it was closed with 确定.
    static bool edit(QWidget *parent);

    void accept() override;

private:
    QLineEdit *m_name, *m_code, *m_alias, *m_description;
    QRadioButton *m_vetoing, *m_notVetoing, *m_insert, *m_change;
};

}  // namespace dbkeel
