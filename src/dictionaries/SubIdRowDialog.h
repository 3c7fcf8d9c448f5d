#pragma once
// "添加SUBID": enters one sub-ID with its value and main attribute, or changes the main attribute of
// one, over the process-wide subIdRecord().

#include "screens/ScreenDialog.h"

class QComboBox;
class QLineEdit;

namespace dbkeel {

class SubIdRowDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit SubIdRowDialog(QWidget *parent = nullptr);
    // Opens the dialog modally through prompt(); true when it was closed with 确定.
    static bool edit(QWidget *parent);

    void accept() override;

private:
    QLineEdit *m_subId, *m_value;
    QComboBox *m_mainName;
};

}  // namespace dbkeel
