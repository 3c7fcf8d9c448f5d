#pragma once
// The system log screen over a SystemLogEditor.

#include "maintenance/SystemLogEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class SystemLogDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit SystemLogDialog(QWidget *parent = nullptr);
    SystemLogEditor &editor() { return m_editor; }

private:
    SystemLogEditor m_editor;
};

}  // namespace dbkeel
