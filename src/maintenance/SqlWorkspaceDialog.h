#pragma once
// The statement workspace over a SqlWorkspaceEditor.

#include "maintenance/SqlWorkspaceEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class SqlWorkspaceDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit SqlWorkspaceDialog(QWidget *parent = nullptr);
    SqlWorkspaceEditor &editor() { return m_editor; }

private:
    SqlWorkspaceEditor m_editor;
};

}  // namespace dbkeel
