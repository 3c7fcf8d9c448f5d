#pragma once
// The plate correction screen over a PlateCorrectionEditor.

#include "maintenance/PlateCorrectionEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class PlateCorrectionDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit PlateCorrectionDialog(QWidget *parent = nullptr);
    PlateCorrectionEditor &editor() { return m_editor; }

private:
    PlateCorrectionEditor m_editor;
};

}  // namespace dbkeel
