#pragma once
// The plate correction screen over a PlateCorrectionEditor.

#include "PlateCorrectionEditor.h"
#include "ScreenDialog.h"

namespace dbkeel {

class INFOERRCHECK : public ScreenDialog {
    Q_OBJECT

public:
    explicit INFOERRCHECK(QWidget *parent = nullptr);
    PlateCorrectionEditor &editor() { return m_editor; }

private:
    PlateCorrectionEditor m_editor;
};

}  // namespace dbkeel
