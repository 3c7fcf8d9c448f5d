#pragma once
// The clearing screen over a ClearingEditor.

#include "maintenance/ClearingEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class ClearingDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit ClearingDialog(QWidget *parent = nullptr);
    ClearingEditor &editor() { return m_editor; }

private:
    ClearingEditor m_editor;
};

}  // namespace dbkeel
