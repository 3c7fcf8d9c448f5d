#pragma once
// The statement workspace over a SqlWorkspaceEditor.

#include "screens/ScreenDialog.h"
#include "maintenance/SqlWorkspaceEditor.h"

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
