#pragma once
// The statement workspace over a SqlWorkspaceEditor.

#include "ScreenDialog.h"
#include "SqlWorkspaceEditor.h"

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
