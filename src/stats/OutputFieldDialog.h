#pragma once
// The output field matching "外输联网数据表字段匹配" over an OutputFieldEditor.

#include "stats/OutputFieldEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class OutputFieldDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit OutputFieldDialog(QWidget *parent = nullptr);
    OutputFieldEditor &editor() { return m_editor; }

private:
    OutputFieldEditor m_editor{this};
};

}  // namespace dbkeel
