#pragma once
// The output field matching "外输联网数据表字段匹配" over an OutputFieldEditor.

#include "screens/ScreenDialog.h"
#include "stats/OutputFieldEditor.h"

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
